#include "link/FrameTrace.h"

#include <QDateTime>

FrameTrace& FrameTrace::Instance()
{
    static FrameTrace trace;
    return trace;
}

FrameTrace::~FrameTrace()
{
    Stop();
}

bool FrameTrace::Start(const QString& path)
{
    std::lock_guard lock(m_mutex);
    if (m_file)
        std::fclose(m_file);
    m_file = std::fopen(path.toLocal8Bit().constData(), "w");
    return m_file != nullptr;
}

void FrameTrace::Stop()
{
    std::lock_guard lock(m_mutex);
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

bool FrameTrace::Enabled() const
{
    std::lock_guard lock(m_mutex);
    return m_file != nullptr;
}

void FrameTrace::WriteStamp(const char* link, const char* what)
{
    const QByteArray stamp = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1();
    std::fprintf(m_file, "%s %s %s", stamp.constData(), link, what);
}

void FrameTrace::Record(const char* link, Dir dir, const unsigned char* data, int length)
{
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return;
    WriteStamp(link, dir == Dir::Out ? ">" : "<");
    std::fprintf(m_file, " %d:", length);
    for (int i = 0; i < length; ++i)
        std::fprintf(m_file, " %02X", data[i]);
    std::fputc('\n', m_file);
    std::fflush(m_file);
}

void FrameTrace::Note(const char* link, const QString& text)
{
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return;
    WriteStamp(link, "#");
    std::fprintf(m_file, " %s\n", text.toUtf8().constData());
    std::fflush(m_file);
}
