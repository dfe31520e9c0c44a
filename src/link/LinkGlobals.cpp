#include "link/LinkGlobals.h"

std::atomic<bool> g_bSerialConnected{false};
