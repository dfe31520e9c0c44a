#include "export/ExactSerials.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <cstring>
#include <string_view>

namespace {

constexpr double kSecondsPerDay = 86400.0;

// The serial of the whole second nearest to printed, written in the fewest
// digits that read back as that double.
QByteArray ExactSerialText(std::string_view printed)
{
    const double approximate = std::strtod(std::string(printed).c_str(), nullptr);
    const double seconds = std::nearbyint(approximate * kSecondsPerDay);
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, seconds / kSecondsPerDay);
    return QByteArray(text, static_cast<qsizetype>(result.ptr - text));
}

} // namespace

TimeCells WholeColumn(char column)
{
    return [column](std::string_view reference) {
        return reference.size() > 1 && reference[0] == column && reference[1] >= '0' && reference[1] <= '9';
    };
}

TimeCells TheseCells(std::vector<std::string> references)
{
    return [references = std::move(references)](std::string_view reference) {
        return std::find(references.begin(), references.end(), reference) != references.end();
    };
}

QByteArray ExactSerials(const QByteArray& sheetXml, const TimeCells& cells)
{
    const std::string_view xml(sheetXml.constData(), static_cast<size_t>(sheetXml.size()));
    const std::string_view cellStart = "<c r=\"";
    QByteArray out;
    out.reserve(sheetXml.size() + sheetXml.size() / 32);
    size_t copied = 0;
    for (size_t cell = xml.find(cellStart); cell != std::string_view::npos; cell = xml.find(cellStart, cell + 1)) {
        const size_t name = cell + cellStart.size();
        const size_t nameEnd = xml.find('"', name);
        if (nameEnd == std::string_view::npos || !cells(xml.substr(name, nameEnd - name)))
            continue;
        const size_t end = xml.find("</c>", nameEnd);
        const size_t open = xml.find("<v>", nameEnd);
        if (end == std::string_view::npos || open == std::string_view::npos || open > end
            || xml.substr(cell, open - cell).find(" t=\"") != std::string_view::npos)
            continue; // no value, or a text cell
        const size_t value = open + 3;
        const size_t close = xml.find("</v>", value);
        if (close == std::string_view::npos || close > end)
            continue;
        out.append(sheetXml.constData() + copied, static_cast<qsizetype>(value - copied));
        out.append(ExactSerialText(xml.substr(value, close - value)));
        copied = close;
    }
    out.append(sheetXml.constData() + copied, static_cast<qsizetype>(sheetXml.size() - static_cast<qsizetype>(copied)));
    return out;
}

namespace {

// The current entry of in, read whole and its checksum checked.
bool ReadEntry(unzFile in, QByteArray& data, unz_file_info64& info, QByteArray& name)
{
    if (unzGetCurrentFileInfo64(in, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    name.resize(static_cast<qsizetype>(info.size_filename));
    if (unzGetCurrentFileInfo64(in, &info, name.data(), info.size_filename, nullptr, 0, nullptr, 0) != UNZ_OK
        || unzOpenCurrentFile(in) != UNZ_OK)
        return false;
    data.resize(static_cast<qsizetype>(info.uncompressed_size));
    const int read = unzReadCurrentFile(in, data.data(), static_cast<unsigned>(data.size()));
    char extra;
    const bool atEnd = unzReadCurrentFile(in, &extra, 1) == 0;
    return unzCloseCurrentFile(in) == UNZ_OK && atEnd && read == data.size();
}

bool WriteEntry(zipFile out, const QByteArray& name, const QByteArray& data, const unz_file_info64& info)
{
    zip_fileinfo zi{};
    zi.dosDate = info.dosDate;
    zi.internal_fa = info.internal_fa;
    zi.external_fa = info.external_fa;
    if (zipOpenNewFileInZip64(out, name.constData(), &zi, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, data.size() > 0xffffffffLL ? 1 : 0) != ZIP_OK)
        return false;
    const bool written = zipWriteInFileInZip(out, data.constData(), static_cast<unsigned>(data.size())) == ZIP_OK;
    return zipCloseFileInZip(out) == ZIP_OK && written;
}

// The system's reason for a failed write when it gave one.
QString WriteFailure()
{
    QString reason = QStringLiteral("the workbook cannot be written");
    if (errno != 0)
        reason += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)).toLower();
    return reason;
}

QString CopyEntries(unzFile in, zipFile out, const std::vector<PartTimeCells>& parts)
{
    int rc = unzGoToFirstFile(in);
    for (; rc == UNZ_OK; rc = unzGoToNextFile(in)) {
        QByteArray name, data;
        unz_file_info64 info{};
        if (!ReadEntry(in, data, info, name))
            return QStringLiteral("the written workbook cannot be read back");
        for (const PartTimeCells& p : parts)
            if (name == p.part)
                data = ExactSerials(data, p.cells);
        errno = 0;
        if (!WriteEntry(out, name, data, info))
            return WriteFailure();
    }
    return rc == UNZ_END_OF_LIST_OF_FILE ? QString() : QStringLiteral("the written workbook cannot be read back");
}

} // namespace

QString CopyWithExactSerials(const QString& from, const QString& to, const std::vector<PartTimeCells>& parts)
{
    unzFile in = unzOpen64(QFile::encodeName(from).constData());
    if (!in)
        return QStringLiteral("the written workbook cannot be read back");
    errno = 0;
    zipFile out = zipOpen64(QFile::encodeName(to).constData(), APPEND_STATUS_CREATE);
    QString why = out ? CopyEntries(in, out, parts) : WriteFailure();
    unzClose(in);
    errno = 0;
    if (out && zipClose(out, nullptr) != ZIP_OK && why.isEmpty())
        why = WriteFailure();
    return why;
}
