#include "export/WorkbookCheck.h"

#include <QByteArray>
#include <QFile>
#include <minizip/unzip.h>

namespace {

constexpr int kChunk = 64 * 1024;
constexpr qsizetype kHeadSize = 512;
constexpr qsizetype kTailSize = 256;

// The name of the root element of an XML text that starts with head.
QByteArray RootName(const QByteArray& head)
{
    qsizetype at = 0;
    while ((at = head.indexOf('<', at)) >= 0) {
        const char next = at + 1 < head.size() ? head[at + 1] : '\0';
        if (next != '?' && next != '!')
            break;
        ++at;
    }
    if (at < 0)
        return {};
    qsizetype end = at + 1;
    while (end < head.size() && head[end] != ' ' && head[end] != '>' && head[end] != '/' && head[end] != '\r'
           && head[end] != '\n')
        ++end;
    return head.mid(at + 1, end - at - 1);
}

bool XmlComplete(const QByteArray& head, const QByteArray& tail)
{
    const QByteArray root = RootName(head);
    if (root.isEmpty())
        return false;
    const QByteArray end = tail.trimmed();
    return end.endsWith("</" + root + '>') || (head.trimmed() == end && end.endsWith("/>"));
}

bool IsXmlPart(const QByteArray& name)
{
    return name.endsWith(".xml") || name.endsWith(".rels");
}

// Reads the current part whole (the archive checks its checksum at the
// end); false when it cannot be read or is cut off.
bool PartWhole(unzFile zip, const QByteArray& name)
{
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return false;
    QByteArray head, tail, chunk(kChunk, Qt::Uninitialized);
    int n = 0;
    while ((n = unzReadCurrentFile(zip, chunk.data(), kChunk)) > 0) {
        if (head.size() < kHeadSize)
            head += chunk.left(std::min<qsizetype>(n, kHeadSize - head.size()));
        tail = (tail + chunk.left(n)).right(kTailSize);
    }
    const bool read = n == 0 && unzCloseCurrentFile(zip) == UNZ_OK;
    return read && (!IsXmlPart(name) || XmlComplete(head, tail));
}

} // namespace

QString WorkbookDamage(const QString& path)
{
    const QByteArray file = QFile::encodeName(path);
    unzFile zip = unzOpen64(file.constData());
    if (!zip)
        return QStringLiteral("the workbook written cannot be read back");
    QString damage;
    int parts = 0;
    int rc = unzGoToFirstFile(zip);
    for (; rc == UNZ_OK && damage.isEmpty(); rc = unzGoToNextFile(zip)) {
        char name[512] = {};
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK
            || !PartWhole(zip, QByteArray(name))) {
            damage = QStringLiteral("the workbook came out incomplete (%1)").arg(QString::fromUtf8(name));
            break;
        }
        ++parts;
    }
    if (damage.isEmpty() && (rc != UNZ_END_OF_LIST_OF_FILE || parts == 0))
        damage = QStringLiteral("the workbook written cannot be read back");
    unzClose(zip);
    return damage;
}
