#pragma once

#include "sim/usb/VirtualUsbLogger.h"

#include <memory>

// A virtual USB logger of the given type (1..4) for the demo mode: a
// mission started a day before now with a 10-minute interval, alarm limits,
// a description (types 3 and 4) and a day of samples.
std::shared_ptr<CVirtualUsbLogger> MakeDemoUsbLogger(int type, time64 now);
