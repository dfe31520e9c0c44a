// The main window and the mission archive: the Archive view, the missions
// it opens here, and the data files Save indexes.
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "mainwnd/ArchiveWindow.h"
#include "mainwnd/CommandLineFile.h"
#include "mainwnd/WindowArchive.h"
#include "record/LoggerRecord.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>

CWindowArchive& CMainDialog::WindowArchive()
{
    if (!m_pWindowArchive)
        m_pWindowArchive = new CWindowArchive(this);
    return *m_pWindowArchive;
}

void CMainDialog::ShowArchiveView()
{
    if (!m_pArchiveView) {
        const auto open = [this](const QString& path, QString& message) { return OpenArchivedMission(path, message); };
        m_pArchiveView = new CArchiveWindow(WindowArchive(), m_display, open, this);
    }
    m_pArchiveView->show();
    m_pArchiveView->raise();
    m_pArchiveView->activateWindow();
}

bool CMainDialog::OpenArchivedMission(const QString& path, QString& message)
{
    bool opened = false;
    if (!QFileInfo::exists(path)) {
        SetStatusText(GetText(TextId::ArchiveFileMissing, m_display.language).arg(path));
    } else if (OpenDataFile(path, FileNameOf(path))) {
        m_connection.Range().ClearSamples();
        opened = true;
    }
    message = StatusText();
    return opened;
}

void CMainDialog::IndexSavedFile(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ImportResult result = WindowArchive().Import(path);
    QApplication::restoreOverrideCursor();
    if (result.outcome == ImportResult::Failed || result.outcome == ImportResult::Damaged)
        SetStatusText(StatusText() + GetText(TextId::ArchiveNotIndexed, m_display.language).arg(result.reason));
}
