#include "export/Worksheet.h"

#include "base/OutputFile.h"
#include "export/ExactSerials.h"
#include "export/WorkbookCheck.h"
#include "export/WorkbookContent.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString LowerFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// The system's reason when there is one (the library's words add nothing
// for the user then), else the library's words.
QString LibraryError(lxw_error error, int systemError)
{
    if (systemError != 0)
        return LowerFirst(QString::fromLocal8Bit(std::strerror(systemError)));
    QString text = LowerFirst(QString::fromUtf8(lxw_strerror(error)));
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// The reasons a write to the library's own temporary files fails.
bool IsWriteError(int systemError)
{
    return systemError == ENOSPC || systemError == EFBIG || systemError == EDQUOT || systemError == EIO;
}

// The library prints its errors on stderr; the caller reports them in its
// own words, once. While it lives, stderr goes nowhere.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~QuietStderr()
    {
        std::fflush(stderr);
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved = -1;
};

// Builds the workbook at scratch; empty on success, else the reason.
QString BuildWorkbook(const CLoggerRecord& record, const DisplaySettings& display, const QString& scratch,
                      const QString& scratchFolder, std::vector<std::string>& summaryTimes)
{
    QByteArray folder = QFile::encodeName(scratchFolder);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder.data();
    const QuietStderr quiet;
    errno = 0;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(scratch).constData(), &options);
    if (!book)
        return LibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED, errno);
    WorkbookFormats formats(book);
    lxw_error error = WriteSummarySheet(book, formats, record, display, summaryTimes);
    if (!error)
        error = WriteDataSheet(book, formats, record, display);
    errno = 0;
    const lxw_error closed = workbook_close(book); // frees the workbook in any case
    const int systemError = errno;
    if (error)
        return LibraryError(error, 0);
    if (closed)
        return LibraryError(closed, systemError);
    QString damage = WorkbookDamage(scratch);
    // The library does not notice its own failed writes, but errno keeps the last.
    if (!damage.isEmpty() && IsWriteError(systemError))
        damage += QStringLiteral(": ") + LibraryError(closed, systemError);
    return damage;
}

bool Fail(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return false;
}

} // namespace

bool WriteWorksheet(const CLoggerRecord& record, const DisplaySettings& display, const QString& path, QString* why)
{
    QTemporaryDir scratchFolder(QDir::tempPath() + QStringLiteral("/halvern-xlsx-XXXXXX"));
    if (!scratchFolder.isValid())
        return Fail(why, LowerFirst(scratchFolder.errorString()));
    const QString scratch = scratchFolder.filePath(QStringLiteral("book.xlsx"));
    std::vector<std::string> summaryTimes;
    if (const QString reason = BuildWorkbook(record, display, scratch, scratchFolder.path(), summaryTimes);
        !reason.isEmpty())
        return Fail(why, reason);
    // The data sheet is the second one; its column B holds the times.
    const std::vector<PartTimeCells> times{{"xl/worksheets/sheet1.xml", TheseCells(std::move(summaryTimes))},
                                           {"xl/worksheets/sheet2.xml", WholeColumn('B')}};
    const QString exact = scratchFolder.filePath(QStringLiteral("exact.xlsx"));
    if (const QString reason = CopyWithExactSerials(scratch, exact, times); !reason.isEmpty())
        return Fail(why, reason);
    QFile built(exact);
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
