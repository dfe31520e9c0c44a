// Opening data files: the Open button, the command-line file and
// OpenDataFile, which loads g_LoggerRecord and shows it.
#include "mainwnd/MolvaneQuillmarDlg.h"

#include "base/TextTable.h"
#include "datafile/LoggerFile.h"
#include "mainwnd/CommandLineFile.h"
#include "record/LoggerRecord.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

QString CMolvaneQuillmarDlg::OpenStartFolder() const
{
    if (!m_strLastFolder.isEmpty() && QDir(m_strLastFolder).exists())
        return m_strLastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

void CMolvaneQuillmarDlg::OnOpen()
{
    const QString start = OpenStartFolder();
    const QString path = m_pfnChooseFile
        ? m_pfnChooseFile(start)
        : QFileDialog::getOpenFileName(this, QString(), start, QStringLiteral("Halvern Files (*.tavo)"));
    const QString name = FileNameOf(path);
    if (ExtensionOf(name) != QLatin1String("tavo"))
        return;
    m_strLastFolder = QFileInfo(path).absolutePath();
    OpenDataFile(path, name);
    g_AreaRecord.m_nCount = 0;
    g_AreaRecord.m_nReceived = 0;
}

void CMolvaneQuillmarDlg::OpenCommandLineFile(const QString& commandLine)
{
    const CommandLineFile file = ParseCommandLineFile(commandLine);
    if (!file.IsDataFile())
        return;
    m_strLastFolder = QFileInfo(file.path).absolutePath();
    OpenDataFile(file.path, file.name);
}

void CMolvaneQuillmarDlg::OpenDataFile(const QString& path, const QString& name)
{
    const OpenDataResult result = OpenDataFileRecord(path);
    if (result == OpenDataResult::NotOpened)
        return;
    RepaintBatteryStrip();
    ShowRecord();
    m_workflow.m_bMayConfigure = 0;
    EnableButton(IDC_START_SETTING, false);
    PostGraphReset(true);
    SetStatusText(result == OpenDataResult::Loaded ? GetText(ToInt(TextId::FileOpened)) + name : GetText(ToInt(TextId::OpenFailed)) + name);
}
