// The layers of src/: a folder includes only itself and the folders below
// it, and the folders of the core library include no widget, GUI or print
// header, so that everything there runs without a display.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// The one table of the layers: the folders each folder may include besides
// itself. A folder is the first part of a path under src/, except report/ui,
// which is a folder of its own (report/pdf belongs to report).
const std::map<QString, QStringList> kMayInclude = {
    {"base", {}},
    {"record", {"base"}},
    {"datafile", {"base", "record"}},
    // Worksheets and reports carry the fingerprint of the record's data file.
    {"export", {"base", "record", "datafile"}},
    {"link", {"base", "record"}},
    {"report", {"base", "record", "datafile"}},
    // The virtual loggers implement the link's device interfaces.
    {"sim", {"base", "record", "link"}},
    {"workflow", {"base", "record", "datafile", "export", "link"}},
    {"archive", {"base", "record", "datafile"}},
    // The receiving station files missions with every writer and indexes them.
    {"station", {"base", "record", "datafile", "export", "link", "report", "workflow", "archive"}},
    {"views", {"base", "record", "datafile", "export", "link", "report", "workflow"}},
    {"report/ui", {"base", "record", "datafile", "export", "link", "report", "workflow", "views"}},
    {"mainwnd", {"base", "record", "datafile", "export", "link", "report", "sim", "workflow", "views", "report/ui", "archive", "station"}},
    // cli reaches report/ui for printing only (built with the GUI libraries).
    {"cli", {"base", "record", "datafile", "export", "link", "report", "sim", "workflow", "archive", "station", "report/ui"}},
};

// The folders of the core library: Qt Core only.
const QStringList kCoreFolders = {"base", "record", "datafile", "export", "link", "report", "sim", "workflow", "archive", "station"};

const QStringList kGuiModules = {"QtGui", "QtWidgets", "QtPrintSupport"};

QString FolderOf(const QString& path)
{
    if (path.startsWith(QLatin1String("report/ui/")))
        return QStringLiteral("report/ui");
    return path.contains(QLatin1Char('/')) ? path.section(QLatin1Char('/'), 0, 0) : QString();
}

// <QWidget>, <QtGui/QImage>, <QtWidgets>: a header of a module that needs a display.
bool IsGuiHeader(const QString& header)
{
    const QString module = header.section(QLatin1Char('/'), 0, 0);
    if (kGuiModules.contains(module))
        return true;
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    for (const QString& gui : kGuiModules)
        if (QFileInfo::exists(headers + QLatin1Char('/') + gui + QLatin1Char('/') + header))
            return true;
    return false;
}

// The rule that an include in a file of folder breaks, or empty when it
// keeps to the layers. quoted: "path" (a project header), else <Qt header>.
QString BrokenRule(const QString& folder, const QString& header, bool quoted)
{
    if (!quoted) {
        if (kCoreFolders.contains(folder) && IsGuiHeader(header))
            return QStringLiteral("the core folders use Qt Core only, and this is a GUI header");
        return {};
    }
    const QString target = FolderOf(header);
    if (target.isEmpty() || target == folder)
        return {};
    const auto row = kMayInclude.find(folder);
    if (row == kMayInclude.end())
        return QStringLiteral("folder %1 has no row in the layer table").arg(folder);
    if (row->second.contains(target))
        return {};
    return QStringLiteral("%1 may include only %2").arg(folder, row->second.isEmpty() ? QStringLiteral("itself") : row->second.join(", "));
}

// The main dialog's control ids (IDC_..., IDCANCEL) belong to src/mainwnd.
// The folders that lay out no controls of their own must not name any: the
// workflow speaks of commands, the window maps them to its buttons. The
// pages in views and the print preview in report/ui have ids of their own
// and cannot reach the main dialog's, whose header they may not include.
bool NamesControlId(const QString& folder, const QString& line)
{
    static const QRegularExpression kControlId(QStringLiteral(R"(\bIDC(_\w+|ANCEL)\b)"));
    static const QStringList kOwnControls = {"mainwnd", "views", "report/ui"};
    return !kOwnControls.contains(folder) && kControlId.match(line).hasMatch();
}

// One logger's record, range and link belong to its connection: no file
// names a process-wide one, so several loggers can run in one process.
bool NamesSharedLoggerState(const QString& line)
{
    static const QRegularExpression kShared(QStringLiteral(R"(\b(g_LoggerRecord|g_AreaRecord|g_LoggerLink|g_bSerialConnected)\b)"));
    return kShared.match(line).hasMatch();
}

struct Include {
    QString file; // path under src/
    int line;
    QString header;
    bool quoted;
};

// Calls f(path, line number, text) for every line of every source file under
// root (path relative to root); returns how many files were read.
template <class F>
int ForEachSourceLine(const QString& root, F&& f)
{
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        ++files;
        const QString path = it.filePath().mid(root.size() + 1);
        for (int line = 1; !file.atEnd(); ++line)
            f(path, line, QString::fromUtf8(file.readLine()));
    }
    return files;
}

std::vector<Include> IncludesUnder(const QString& root, int& files)
{
    static const QRegularExpression kInclude(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"));
    std::vector<Include> found;
    files = ForEachSourceLine(root, [&](const QString& path, int line, const QString& text) {
        const QRegularExpressionMatch m = kInclude.match(text);
        const bool quoted = m.hasMatch() && m.captured(1) == QLatin1String("\"");
        if (m.hasMatch() && (quoted || m.captured(2).startsWith(QLatin1Char('Q'))))
            found.push_back({path, line, m.captured(2), quoted});
    });
    return found;
}

TEST(Layering, EveryIncludeUnderSrcKeepsToTheLayers)
{
    int files = 0;
    const std::vector<Include> includes = IncludesUnder(QStringLiteral(HALVERN_SOURCE_DIR), files);
    ASSERT_GT(files, 100) << "the sources were not found under " HALVERN_SOURCE_DIR;
    for (const Include& inc : includes) {
        const QString rule = BrokenRule(FolderOf(inc.file), inc.header, inc.quoted);
        const QString shown = inc.quoted ? '"' + inc.header + '"' : '<' + inc.header + '>';
        EXPECT_TRUE(rule.isEmpty()) << inc.file.toStdString() << ':' << inc.line << ": #include " << shown.toStdString()
                                    << ": " << rule.toStdString();
    }
}

TEST(Layering, NoControlIdBelowTheMainWindow)
{
    const int files = ForEachSourceLine(QStringLiteral(HALVERN_SOURCE_DIR), [](const QString& path, int line, const QString& text) {
        EXPECT_FALSE(NamesControlId(FolderOf(path), text))
            << path.toStdString() << ':' << line << ": names a control id: " << text.trimmed().toStdString();
    });
    ASSERT_GT(files, 100) << "the sources were not found under " HALVERN_SOURCE_DIR;
}

TEST(Layering, NoProcessWideLoggerState)
{
    const int files = ForEachSourceLine(QStringLiteral(HALVERN_SOURCE_DIR), [](const QString& path, int line, const QString& text) {
        EXPECT_FALSE(NamesSharedLoggerState(text))
            << path.toStdString() << ':' << line << ": names process-wide logger state: " << text.trimmed().toStdString();
    });
    ASSERT_GT(files, 100) << "the sources were not found under " HALVERN_SOURCE_DIR;
    EXPECT_TRUE(NamesSharedLoggerState(QStringLiteral("    g_LoggerRecord.Reset();")));
    EXPECT_TRUE(NamesSharedLoggerState(QStringLiteral("extern CLoggerLink g_LoggerLink;")));
    EXPECT_FALSE(NamesSharedLoggerState(QStringLiteral("    m_connection.Record().Reset();")));
}

TEST(Layering, ControlIdsOutsideTheWindowsAreCaught)
{
    const struct {
        const char* folder;
        const char* line;
        bool caught;
    } cases[] = {
        {"workflow", "    m_view.EnableButton(IDC_DOWNLOAD, true);", true},
        {"cli", "enum { IDCANCEL = 2 };", true},
        {"base", "// posts to IDC_STATUS", true},
        {"workflow", "        r.m_nRowFlags &= ~RF_LOGGER_CLOCK;", false},
        {"workflow", "    m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::Download, true));", false},
        {"mainwnd", "    EnableButton(IDC_START_SETTING, false);", false},
        {"views", "    Click(IDC_ZOOM_IN);", false},
        {"report/ui", "    Control(IDC_PRINT)->setEnabled(true);", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesControlId(QLatin1String(c.folder), QLatin1String(c.line)), c.caught) << c.folder << ": " << c.line;
}

TEST(Layering, IncludesAgainstTheLayersAreCaught)
{
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::HeadersPath) + QStringLiteral("/QtWidgets/QWidget")))
        GTEST_SKIP() << "the Qt widget headers are not installed";
    const struct {
        const char* folder;
        const char* header;
        bool quoted;
        bool broken;
    } cases[] = {
        {"base", "record/LoggerRecord.h", true, true},
        {"record", "workflow/LoggerWorkflow.h", true, true},
        {"link", "datafile/LoggerFile.h", true, true},
        {"workflow", "sim/DemoLogger.h", true, true},
        {"views", "mainwnd/TabHost.h", true, true},
        {"views", "report/ui/Preview.h", true, true},
        {"cli", "views/DialogScale.h", true, true},
        {"sim", "link/usb/Ch375Library.h", true, false},
        {"link", "link/serial/ComPort.h", true, false},
        {"report/ui", "views/DialogScale.h", true, false},
        {"mainwnd", "sim/DemoLogger.h", true, false},
        {"workflow", "QWidget", false, true},
        {"record", "QImage", false, true},
        {"report", "QPainter", false, true},
        {"export", "QtPrintSupport/QPrinter", false, true},
        {"sim", "QString", false, false},
        {"views", "QWidget", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(!BrokenRule(QLatin1String(c.folder), QLatin1String(c.header), c.quoted).isEmpty(), c.broken)
            << c.folder << " -> " << c.header;
}

} // namespace
