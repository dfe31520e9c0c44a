#include "export/Worksheet.h"

#include "base/OutputFile.h"
#include "export/WorkbookCheck.h"
#include "export/WorkbookContent.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

namespace {

QString LowerFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// The library's words for an error, with the system's reason when it has one.
QString LibraryError(lxw_error error, int systemError)
{
    QString text = LowerFirst(QString::fromUtf8(lxw_strerror(error)));
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (systemError != 0)
        text += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(systemError));
    return text;
}

// Builds the workbook at scratch; empty on success, else the reason.
QString BuildWorkbook(const CLoggerRecord& record, const QString& scratch, const QString& scratchFolder)
{
    QByteArray folder = QFile::encodeName(scratchFolder);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder.data();
    errno = 0;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(scratch).constData(), &options);
    if (!book)
        return LibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED, errno);
    lxw_error error = WriteSummarySheet(book, record);
    if (!error)
        error = WriteDataSheet(book, record);
    errno = 0;
    const lxw_error closed = workbook_close(book); // frees the workbook in any case
    const int systemError = errno;
    if (error)
        return LibraryError(error, 0);
    if (closed)
        return LibraryError(closed, systemError);
    return WorkbookDamage(scratch);
}

bool Fail(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return false;
}

} // namespace

bool WriteWorksheet(const CLoggerRecord& record, const QString& path, QString* why)
{
    QTemporaryDir scratchFolder(QDir::tempPath() + QStringLiteral("/halvern-xlsx-XXXXXX"));
    if (!scratchFolder.isValid())
        return Fail(why, LowerFirst(scratchFolder.errorString()));
    const QString scratch = scratchFolder.filePath(QStringLiteral("book.xlsx"));
    if (const QString reason = BuildWorkbook(record, scratch, scratchFolder.path()); !reason.isEmpty())
        return Fail(why, reason);
    QFile built(scratch);
    if (!built.open(QIODevice::ReadOnly))
        return Fail(why, LowerFirst(built.errorString()));
    const QByteArray bytes = built.readAll();
    if (bytes.size() != built.size())
        return Fail(why, LowerFirst(built.errorString()));
    COutputFile out(path);
    if (out.Open() && out.Commit(bytes))
        return true;
    return Fail(why, out.Error());
}
