#include "export/WorkbookText.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>
#include <minizip/unzip.h>

namespace {

constexpr int kChunk = 64 * 1024;
const char kFirstSheet[] = "xl/worksheets/sheet1.xml";
const char kSharedStrings[] = "xl/sharedStrings.xml";

enum class PartRead { Read, Missing, Damaged };

// The bytes of part name of zip, checked against their checksum.
PartRead ReadPart(unzFile zip, const char* name, QByteArray& out)
{
    if (unzLocateFile(zip, name, 1) != UNZ_OK)
        return PartRead::Missing;
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return PartRead::Damaged;
    QByteArray chunk(kChunk, Qt::Uninitialized);
    int n = 0;
    while ((n = unzReadCurrentFile(zip, chunk.data(), kChunk)) > 0)
        out.append(chunk.constData(), n);
    const bool whole = n == 0;
    return unzCloseCurrentFile(zip) == UNZ_OK && whole ? PartRead::Read : PartRead::Damaged;
}

// The texts of <si> items; false when the XML is not well formed.
bool ParseSharedStrings(const QByteArray& xml, QStringList& strings)
{
    QXmlStreamReader reader(xml);
    QString item;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si"))
            item.clear();
        else if (reader.isStartElement() && reader.name() == QLatin1String("t"))
            item += reader.readElementText();
        else if (reader.isEndElement() && reader.name() == QLatin1String("si"))
            strings << item;
    }
    return !reader.hasError();
}

// The rows of a sheet, cells joined by tabs; false when the XML is not well formed.
bool ParseSheet(const QByteArray& xml, const QStringList& shared, QString& text)
{
    QXmlStreamReader reader(xml);
    QStringList row;
    QString type, value;
    while (!reader.atEnd()) {
        reader.readNext();
        const auto name = reader.name();
        if (reader.isStartElement() && name == QLatin1String("c")) {
            type = reader.attributes().value(QLatin1String("t")).toString();
            value.clear();
        } else if (reader.isStartElement() && (name == QLatin1String("t") || name == QLatin1String("v"))) {
            value += reader.readElementText();
        } else if (reader.isEndElement() && name == QLatin1String("c")) {
            row << (type == QLatin1String("s") ? shared.value(value.toInt()) : value);
        } else if (reader.isEndElement() && name == QLatin1String("row")) {
            text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
            row.clear();
        }
    }
    return !reader.hasError();
}

} // namespace

bool ReadFirstSheetText(const QString& path, QString& text, QString* why)
{
    auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    text.clear();
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip)
        return fail(QStringLiteral("truncated or damaged: the workbook's zip directory cannot be read"));
    QByteArray sheet, strings;
    const PartRead sheetRead = ReadPart(zip, kFirstSheet, sheet);
    const PartRead stringsRead = sheetRead == PartRead::Read ? ReadPart(zip, kSharedStrings, strings) : PartRead::Missing;
    unzClose(zip);
    if (sheetRead == PartRead::Missing)
        return fail(QStringLiteral("not a worksheet: the archive holds no first sheet"));
    if (sheetRead == PartRead::Damaged || stringsRead == PartRead::Damaged)
        return fail(QStringLiteral("damaged: a part of the workbook cannot be read whole"));
    QStringList shared;
    if (stringsRead == PartRead::Read && !ParseSharedStrings(strings, shared))
        return fail(QStringLiteral("damaged: the workbook's shared strings are no well-formed XML"));
    if (!ParseSheet(sheet, shared, text))
        return fail(QStringLiteral("damaged: the first sheet is no well-formed XML"));
    return true;
}
