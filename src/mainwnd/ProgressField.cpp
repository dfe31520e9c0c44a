#include "mainwnd/ProgressField.h"

#include "base/TextTable.h"

QString DownloadProgressText(int received, int count, std::uint16_t language)
{
    if (count <= 0)
        return {};
    const int done = received < 0 ? 0 : (received > count ? count : received);
    const int percent = static_cast<int>(static_cast<qint64>(done) * 100 / count);
    return GetText(TextId::DownloadProgress, language).arg(percent).arg(done).arg(count);
}

CProgressField::CProgressField(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    setAlignment(Qt::AlignCenter);
    m_hold.setSingleShot(true);
    m_hold.setInterval(kHoldMs);
    connect(&m_hold, &QTimer::timeout, this, [this] { Clear(); });
}

void CProgressField::Show(int position, int received, int count, std::uint16_t language)
{
    const bool wasShowing = m_nPosition > 0;
    m_nPosition = position;
    if (position <= 0) {
        // The end of a download: its last state stays a moment.
        if (wasShowing && !m_hold.isActive()) {
            setValue(maximum() * (count > 0 ? received : 0) / (count > 0 ? count : 1));
            setFormat(DownloadProgressText(received, count, language));
            m_hold.start();
        } else if (!m_hold.isActive()) {
            Clear();
        }
        return;
    }
    m_hold.stop();
    setValue(position);
    // QProgressBar replaces %p, %v and %m in its format; the text has none.
    setFormat(DownloadProgressText(received, count, language));
    setTextVisible(true);
}

void CProgressField::Clear()
{
    setValue(0);
    setFormat(QString());
    setTextVisible(false);
}
