// Opening data files: the Open button, the command-line file and
// OpenDataFile, which loads the shown record and shows it, or says why not.
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "datafile/LoggerFile.h"
#include "mainwnd/CommandLineFile.h"
#include "record/LoggerRecord.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

QString CMainDialog::OpenStartFolder() const
{
    if (!m_strLastFolder.isEmpty() && QDir(m_strLastFolder).exists())
        return m_strLastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

void CMainDialog::OnOpen()
{
    const QString start = OpenStartFolder();
    const QString path = m_pfnChooseFile
        ? m_pfnChooseFile(start)
        : QFileDialog::getOpenFileName(this, QString(), start, GetText(TextId::OpenFileFilter, m_display.language));
    if (path.isEmpty())
        return; // cancelled
    m_strLastFolder = QFileInfo(path).absolutePath();
    // Whatever name was chosen, the reader decides whether it is a data
    // file, and a refusal is said with its reason.
    if (OpenDataFile(path, FileNameOf(path)))
        m_connection.Range().ClearSamples();
}

void CMainDialog::OpenCommandLineFile(const QString& commandLine)
{
    const CommandLineFile file = ParseCommandLineFile(commandLine);
    if (!file.IsDataFile())
        return;
    m_strLastFolder = QFileInfo(file.path).absolutePath();
    OpenDataFile(file.path, file.name);
}

bool CMainDialog::OpenDataFile(const QString& path, const QString& name)
{
    QString why;
    if (OpenDataFileRecord(path, m_connection.Record(), m_display, nullptr, &why) != OpenDataResult::Loaded) {
        // The record on screen and everything showing it stay as they were.
        // A bare name on the command line has no name part: the path then
        // says which file was refused.
        const QString shown = name.isEmpty() ? path : name;
        SetStatusText(GetText(TextId::OpenFailed, m_display.language) + shown
                      + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        return false;
    }
    RepaintBatteryStrip();
    ShowRecord();
    m_workflow.m_bMayConfigure = 0;
    EnableButton(IDC_START_SETTING, false);
    PostGraphReset(true);
    SetStatusText(GetText(TextId::FileOpened, m_display.language) + name);
    m_bUnsavedDownload = false; // the window shows a file now
    return true;
}
