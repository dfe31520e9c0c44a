#include "support/XlsxReader.h"

#include <QDateTime>
#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <minizip/unzip.h>

namespace {

QMap<QString, QByteArray> Unpack(const QString& path)
{
    QMap<QString, QByteArray> parts;
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip)
        return parts;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        char name[512] = {};
        unz_file_info64 info{};
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0);
        if (unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        QByteArray data(static_cast<qsizetype>(info.uncompressed_size), Qt::Uninitialized);
        const int n = unzReadCurrentFile(zip, data.data(), static_cast<unsigned>(data.size()));
        if (unzCloseCurrentFile(zip) != UNZ_OK || n != data.size())
            break;
        parts.insert(QString::fromUtf8(name), data);
    }
    unzClose(zip);
    return parts;
}

// "BC12" -> column 54, row 11 (0-based).
void ParseRef(QStringView ref, int& row, int& column)
{
    column = 0;
    int i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        column = column * 26 + (ref[i].unicode() - 'A' + 1);
    --column;
    row = ref.mid(i).toInt() - 1;
}

} // namespace

const XlsxCell* XlsxSheet::Cell(int row, int column) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= rows[row].size())
        return nullptr;
    const XlsxCell& cell = rows[row][column];
    return cell.present ? &cell : nullptr;
}

bool XlsxBook::Load(const QString& path, int skipFrom, int keepFrom)
{
    m_skipFrom = skipFrom;
    m_keepFrom = keepFrom;
    m_parts = Unpack(path);
    if (!m_parts.contains(QStringLiteral("xl/workbook.xml"))) {
        m_error = QStringLiteral("no workbook part");
        return false;
    }
    return ReadStyles() && ReadWorkbook();
}

bool XlsxBook::ReadWorkbook()
{
    QMap<QString, QString> targets; // relationship id -> part
    QXmlStreamReader rels(m_parts.value(QStringLiteral("xl/_rels/workbook.xml.rels")));
    while (!rels.atEnd())
        if (rels.readNext() == QXmlStreamReader::StartElement && rels.name() == QLatin1String("Relationship")) {
            const QString target = rels.attributes().value("Target").toString();
            targets.insert(rels.attributes().value("Id").toString(),
                           target.startsWith('/') ? target.mid(1) : QStringLiteral("xl/") + target);
        }
    QXmlStreamReader shared(m_parts.value(QStringLiteral("xl/sharedStrings.xml")));
    while (!shared.atEnd())
        if (shared.readNext() == QXmlStreamReader::StartElement && shared.name() == QLatin1String("t"))
            m_shared << shared.readElementText();
    QXmlStreamReader book(m_parts.value(QStringLiteral("xl/workbook.xml")));
    QList<QPair<QString, QString>> sheets;
    while (!book.atEnd())
        if (book.readNext() == QXmlStreamReader::StartElement && book.name() == QLatin1String("sheet")) {
            const QString name = book.attributes().value("name").toString();
            m_names << name;
            sheets.append({name, targets.value(book.attributes().value("r:id").toString())});
        }
    if (book.hasError()) {
        m_error = book.errorString();
        return false;
    }
    for (const auto& [name, part] : sheets)
        if (!ReadSheet(name, part))
            return false;
    return true;
}

bool XlsxBook::ReadStyles()
{
    QXmlStreamReader xml(m_parts.value(QStringLiteral("xl/styles.xml")));
    QString section;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (name == QLatin1String("fonts") || name == QLatin1String("cellXfs") || name == QLatin1String("cellStyleXfs"))
            section = name.toString();
        else if (name == QLatin1String("numFmt"))
            m_numFmts.insert(a.value("numFmtId").toInt(), a.value("formatCode").toString());
        else if (name == QLatin1String("font") && section == QLatin1String("fonts"))
            m_fontRed << false;
        else if (name == QLatin1String("color") && section == QLatin1String("fonts") && !m_fontRed.isEmpty())
            m_fontRed.last() = a.value("rgb").toString().toUpper() == QLatin1String("FFFF0000");
        else if (name == QLatin1String("xf") && section == QLatin1String("cellXfs")) {
            m_xfNumFmt << a.value("numFmtId").toInt();
            m_xfFont << a.value("fontId").toInt();
        }
    }
    if (xml.hasError())
        m_error = QStringLiteral("styles: ") + xml.errorString();
    return !xml.hasError();
}

bool XlsxBook::ReadSheet(const QString& name, const QString& part)
{
    if (!m_parts.contains(part)) {
        m_error = QStringLiteral("no part ") + part;
        return false;
    }
    XlsxSheet& sheet = m_sheets[name];
    QXmlStreamReader xml(m_parts.value(part));
    int row = 0, column = 0;
    XlsxCell* cell = nullptr;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("c"))
            cell = nullptr;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("col")) {
            for (int c = a.value("min").toInt(); c <= a.value("max").toInt(); ++c)
                sheet.widths.insert(c - 1, a.value("width").toDouble());
        } else if (xml.name() == QLatin1String("c")) {
            ParseRef(a.value("r"), row, column);
            if (row < 0 || column < 0 || row > 1 << 20 || column > 1 << 14) {
                m_error = part + QStringLiteral(": a cell reference out of range");
                return false;
            }
            sheet.rowCount = std::max(sheet.rowCount, row + 1);
            if (m_skipFrom >= 0 && row >= m_skipFrom && row < m_keepFrom) {
                cell = nullptr;
                continue;
            }
            if (sheet.rows.size() <= row)
                sheet.rows.resize(row + 1);
            if (sheet.rows[row].size() <= column)
                sheet.rows[row].resize(column + 1);
            cell = &sheet.rows[row][column];
            cell->present = true;
            cell->type = a.value("t").toString();
            cell->style = a.value("s").toInt();
        } else if (cell && (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t"))) {
            const QString text = xml.readElementText();
            cell->text = cell->type == QLatin1String("s") ? m_shared.value(text.toInt()) : text;
        }
    }
    if (xml.hasError())
        m_error = part + QStringLiteral(": ") + xml.errorString();
    return !xml.hasError();
}

const XlsxSheet* XlsxBook::Sheet(const QString& name) const
{
    const auto it = m_sheets.find(name);
    return it == m_sheets.end() ? nullptr : &*it;
}

QString XlsxBook::NumberFormat(int style) const
{
    return m_numFmts.value(m_xfNumFmt.value(style, 0));
}

bool XlsxBook::RedFont(int style) const
{
    return m_fontRed.value(m_xfFont.value(style, 0), false);
}

QString SerialToText(double serial)
{
    const qint64 minutes = std::llround(serial * 24 * 60);
    const QDateTime t(QDate(1899, 12, 30).addDays(minutes / (24 * 60)),
                      QTime(0, 0).addSecs(static_cast<int>(minutes % (24 * 60)) * 60), Qt::UTC);
    return QStringLiteral("%1-%2-%3 %4").arg(t.date().year()).arg(t.date().month()).arg(t.date().day())
        .arg(t.time().toString(QStringLiteral("hh:mm")));
}
