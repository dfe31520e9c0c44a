#include "base/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

QString LowerFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

} // namespace

COutputFile::COutputFile(const QString& path)
    : m_path(path)
{
}

COutputFile::~COutputFile()
{
    Cancel();
}

bool COutputFile::IsDirect(const QString& path)
{
    // /dev/stdout, /dev/fd/N and /proc/self/fd/N name an open handle even
    // when it leads to a regular file: replacing that file would cut off
    // whoever holds the handle (a shell's ">>").
    if (path == QLatin1String("-"))
        return true;
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return !info.isFile() || path.startsWith(QLatin1String("/dev/")) || path.startsWith(QLatin1String("/proc/"));
}

bool COutputFile::Open()
{
    Cancel();
    m_error.clear();
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    if (m_path == QLatin1String("-")) {
        // Text the program printed before goes first.
        std::fflush(stdout);
        auto out = std::make_unique<QFile>();
        const bool opened = out->open(STDOUT_FILENO, mode, QFileDevice::DontCloseHandle);
        m_file = std::move(out);
        return opened || Fail();
    }
    if (!IsDirect(m_path)) {
        m_file = std::make_unique<QSaveFile>(m_path);
        return m_file->open(mode) || Fail();
    }
    // A file reached through /dev/stdout may be one a shell opened with
    // ">>": appended to, never truncated.
    m_file = std::make_unique<QFile>(m_path);
    const bool file = QFileInfo(m_path).isFile();
    return m_file->open(file ? mode | QIODevice::Append : mode) || Fail();
}

bool COutputFile::Commit(const QByteArray& data)
{
    if (!m_file)
        return false;
    // Unbuffered: a short write shows in the result of write itself.
    if (m_file->write(data) != data.size())
        return Fail();
    if (auto* save = dynamic_cast<QSaveFile*>(m_file.get()); save && !save->commit())
        return Fail();
    m_file.reset();
    return true;
}

void COutputFile::Cancel()
{
    if (auto* save = dynamic_cast<QSaveFile*>(m_file.get()))
        save->cancelWriting();
    m_file.reset();
}

bool COutputFile::Fail()
{
    const int error = errno;
    m_error = m_file ? m_file->errorString() : QString();
    // A short write leaves Qt without a reason; the system call's is kept.
    if ((m_error.isEmpty() || m_error == QLatin1String("Unknown error")) && error != 0)
        m_error = QString::fromLocal8Bit(std::strerror(error));
    if (m_error.isEmpty())
        m_error = QStringLiteral("write failed");
    m_error = LowerFirst(m_error);
    Cancel();
    return false;
}
