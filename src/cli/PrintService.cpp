#ifdef HALVERN_CLI_PRINT
#include "cli/PrintService.h"

#include <cups/cups.h>

namespace {

constexpr int kConnectTimeoutMs = 5000;

} // namespace

QString PrintServiceAddress()
{
    const QString server = QString::fromLocal8Bit(cupsServer());
    if (server.startsWith(QLatin1Char('/')))
        return server;
    return server + QLatin1Char(':') + QString::number(ippPort());
}

bool PrintServiceReachable()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectTimeoutMs, nullptr);
    if (!http)
        return false;
    httpClose(http);
    return true;
}
#endif
