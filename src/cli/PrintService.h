#pragma once

#include <QString>

// Where this program's printing reaches the print service (CUPS): the server
// named by CUPS_SERVER or the client configuration, else the local default.
// The text is a socket path or host:port.
QString PrintServiceAddress();

// Whether the print service answers there: a printer that cannot be found
// while it does not is not missing, the service is.
bool PrintServiceReachable();
