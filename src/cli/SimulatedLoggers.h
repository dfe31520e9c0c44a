#pragma once

#include "cli/LinkOptions.h"
#include "sim/serial/VirtualSerialConfig.h"
#include "sim/usb/VirtualUsbLogger.h"

#include <memory>

// The virtual loggers of --simulate and the simulate command: the demo
// loggers with a mission of spec.samples samples at spec.intervalMinutes
// that ended just before `now`.

// Null with error set when the logger's memory cannot hold the samples.
std::shared_ptr<CVirtualUsbLogger> MakeSimulatedUsbLogger(const SimulateSpec& spec, time64 now, QString& error);
VirtualSerialConfig MakeSimulatedSerialConfig(const SimulateSpec& spec, time64 now);
