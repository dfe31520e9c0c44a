#include "link/LoggerLink.h"

CLoggerLink g_LoggerLink;
