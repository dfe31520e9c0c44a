#pragma once

#include "link/serial/ComPort.h"

#include <vector>

// The highest port number a CH341 logger is looked for under.
constexpr int kMaxCh341Port = 255;

// Scans the ports and returns the numbers (1 .. kMaxCh341Port, ascending) of
// those present that belong to a CH341 converter.
std::vector<int> ScanCh341Ports(LsComm::CComPort& port);
