#pragma once

#include <atomic>

// Connection flags: at most one link is in use at a time. Written by the
// notification routines' effects and the workflow, on the main thread.
extern std::atomic<bool> g_bSerialConnected;
