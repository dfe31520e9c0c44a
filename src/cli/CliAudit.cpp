#include "cli/CliAudit.h"

#include "base/PrintableText.h"
#include "cli/ConsoleText.h"

CCliAudit::CCliAudit(const char* command, const QString& address) : m_recorder(address)
{
    m_recorder.OnFailure([command](const QString& why) {
        PrintNow(stderr, QStringLiteral("halvern-th-cli %1: %2\n").arg(QLatin1String(command), PrintableText(why)));
    });
}
