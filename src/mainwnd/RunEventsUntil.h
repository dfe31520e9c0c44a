#pragma once

#include <functional>

// Runs a local event loop until done() holds, looked at every 20 ms, or
// timeoutMs has passed; whether done() holds then. The window's demo and
// screenshot modes wait with it for what they should show, never sleeping.
bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs);
