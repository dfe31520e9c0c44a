#include "link/LinkGlobals.h"

std::atomic<bool> g_bUsbConnected{false};
std::atomic<bool> g_bSerialConnected{false};
