#include "mainwnd/WindowArchive.h"

#include <QSettings>
#include <algorithm>

namespace {

const QString kAddressKey = QStringLiteral("archive/address");
constexpr qint64 kRetryAfterMs = 60000;

QSettings WindowSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("halvern-th"),
                     QStringLiteral("halvern-th"));
}

} // namespace

CWindowArchive::CWindowArchive(QObject* parent) : QObject(parent) {}

QString CWindowArchive::StoredAddress()
{
    return WindowSettings().value(kAddressKey).toString().trimmed();
}

void CWindowArchive::StoreAddress(const QString& text)
{
    QSettings settings = WindowSettings();
    if (text.trimmed().isEmpty())
        settings.remove(kAddressKey);
    else
        settings.setValue(kAddressKey, text.trimmed());
}

bool CWindowArchive::AddressInForce(ArchiveAddress& address, QString& error)
{
    const QString stored = StoredAddress();
    if (!ParseArchiveAddress(stored.isEmpty() ? DefaultArchivePath() : stored, address, error))
        return false;
    const bool timeoutGiven = std::any_of(address.options.begin(), address.options.end(), [](const QString& option) {
        return option.startsWith(QLatin1String("connect_timeout="));
    });
    if (address.kind == ArchiveAddress::Kind::Postgres && !timeoutGiven)
        address.options << QStringLiteral("connect_timeout=10");
    return true;
}

bool CWindowArchive::Open(QString& error)
{
    if (m_open)
        return true;
    if (m_failed.isValid() && m_failed.elapsed() < kRetryAfterMs) {
        error = m_failure;
        return false;
    }
    ArchiveAddress address;
    m_open = AddressInForce(address, error) && m_archive.Open(address, error);
    if (m_open) {
        m_failed.invalidate();
    } else {
        m_archive.Close();
        m_failure = error;
        m_failed.start();
    }
    return m_open;
}

void CWindowArchive::Reset()
{
    m_archive.Close();
    m_open = false;
    m_failed.invalidate();
    emit Changed();
}

ImportResult CWindowArchive::Import(const QString& path)
{
    ImportResult result;
    if (!Open(result.reason)) {
        result.outcome = ImportResult::Failed;
        return result;
    }
    result = ImportReconnecting(m_archive, path);
    if (!m_archive.IsOpen()) {
        m_open = false;
    } else if (result.outcome == ImportResult::Indexed || result.outcome == ImportResult::Moved) {
        emit Changed();
    }
    return result;
}
