#pragma once

#include "sim/SimulateSpec.h"
#include "sim/serial/VirtualSerialConfig.h"
#include "sim/usb/VirtualUsbLogger.h"

#include <memory>

// The virtual loggers of the CLI's --simulate and its simulate command: the
// demo loggers with a mission of chosen.samples samples at chosen.intervalMinutes
// that ended just before `now`.

// Null with error set when the logger's memory cannot hold the samples.
std::shared_ptr<CVirtualUsbLogger> MakeSimulatedUsbLogger(const SimulateSpec& chosen, time64 now, QString& error);
VirtualSerialConfig MakeSimulatedSerialConfig(const SimulateSpec& chosen, time64 now);
