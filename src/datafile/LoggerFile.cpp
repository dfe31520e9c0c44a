#include "datafile/LoggerFile.h"

#include "base/CodePage.h"
#include "base/OutputFile.h"
#include "datafile/BodyLayout.h"
#include "datafile/BodyWriter.h"
#include "datafile/Scramble.h"

#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <mutex>

namespace {

// The description as stored: at most 59 bytes in the OEM code page, cut at
// a character boundary, then zeros up to 60 bytes.
QByteArray DescriptionBytes(const QString& text)
{
    QString cut = text;
    QByteArray bytes = ToOem(cut);
    while (bytes.size() > DESCRIPTION_SIZE - 1) {
        cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
        bytes = ToOem(cut);
    }
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    bytes.append(DESCRIPTION_SIZE - bytes.size(), '\0');
    return bytes;
}

QByteArray MarkerBytes(bool bArea)
{
    const unsigned v = bArea ? AREA_MARKER : 0;
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    return QByteArray(bytes, 4);
}

// Why path cannot be opened for reading, in the user's words.
QString ReadRefusal(const QString& path, const QFile& file)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a directory");
    if (file.error() == QFileDevice::OpenError && !info.isReadable())
        return QStringLiteral("permission denied");
    QString text = file.errorString();
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

} // namespace

void DrawHeaderNumbers(unsigned seed, std::uint8_t (&numbers)[HEADER_NUMBERS])
{
    // The C generator is shared state: a draw is one seed and its numbers.
    static std::mutex generator;
    const std::lock_guard lock(generator);
    std::srand(seed);
    do {
        for (std::uint8_t& n : numbers)
            n = static_cast<std::uint8_t>(std::rand() % 256);
    } while (numbers[2] == 0);
}

unsigned HeaderSeed(const std::string& body)
{
    // FNV-1a, 32 bits.
    std::uint32_t hash = 2166136261u;
    for (const char c : body) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

bool DataFileBytes(const CLoggerRecord& record, bool bArea, QByteArray& out, QString* why)
{
    std::string body;
    if (!BuildBody(record, body, why))
        return false;
    std::uint8_t header[HEADER_NUMBERS];
    DrawHeaderNumbers(HeaderSeed(body), header);
    out.clear();
    out.reserve(HEADER_SIZE + static_cast<qsizetype>(body.size()) + TRAILER_SIZE);
    for (std::uint8_t n : header)
        out.append(QByteArray::number(n).rightJustified(3, ' '));
    out.append(QByteArray::fromStdString(ScrambleBody(body, KeyFromHeader(header))));
    out.append(DescriptionBytes(record.m_strValue[ROW_DESCRIPTION]));
    out.append(MarkerBytes(bArea));
    return true;
}

CLoggerFile::CLoggerFile() = default;

CLoggerFile::CLoggerFile(const QString& path, int mode)
{
    Open(path, mode);
}

CLoggerFile::~CLoggerFile()
{
    Close();
}

bool CLoggerFile::Open(const QString& path, int mode)
{
    Close();
    m_error.clear();
    if (mode & ModeRead) {
        m_in = std::make_unique<QFile>(path);
        // A directory opens on some systems; it is no data file either way.
        if (QFileInfo(path).isDir() || !m_in->open(QIODevice::ReadOnly)) {
            m_error = ReadRefusal(path, *m_in);
            m_in.reset();
        }
    }
    if (mode & ModeWrite) {
        m_out = std::make_unique<COutputFile>(path);
        if (!m_out->Open()) {
            m_error = m_out->Error();
            m_out.reset();
        }
    }
    return (!(mode & ModeRead) || m_in) && (!(mode & ModeWrite) || m_out);
}

void CLoggerFile::Close()
{
    // An output file that Save did not finish is discarded with its
    // temporary file; the target stays as it was.
    m_out.reset();
    m_in.reset();
}

bool CLoggerFile::IsInputOpen() const
{
    return m_in != nullptr;
}

bool CLoggerFile::IsOutputOpen() const
{
    return m_out != nullptr;
}

bool CLoggerFile::Save(const CLoggerRecord& record, bool bArea)
{
    if (!IsOutputOpen())
        return false;
    QByteArray file;
    if (!DataFileBytes(record, bArea, file, &m_error)) {
        Close();
        return false;
    }
    const bool written = m_out->Commit(file);
    if (!written)
        m_error = m_out->Error();
    m_out.reset();
    return written;
}
