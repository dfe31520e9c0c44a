#include "link/LinkGlobals.h"

std::atomic<bool> g_bSerialConnected{false};
QString g_strLinkLostText;
