// The Save button: the record shown, or the range selected on the graph,
// to a data file, a worksheet or another kind of the save dialog.
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "mainwnd/SaveKinds.h"
#include "record/LoggerRecord.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

namespace {

CMainDialog::SaveChoice AskForFile(QWidget* parent, const QString& proposed, const QStringList& filters)
{
    CMainDialog::SaveChoice choice;
    // The question before replacing a file comes after the extension rule,
    // on the name actually written, not here.
    choice.path = QFileDialog::getSaveFileName(parent, QString(), proposed, filters.join(QStringLiteral(";;")),
                                               &choice.filter, QFileDialog::DontConfirmOverwrite);
    return choice;
}

} // namespace

void CMainDialog::OnSave()
{
    // The selected range while there is one, else the whole record.
    const CLoggerRecord& whole = m_connection.Record();
    const CLoggerRecord& range = m_connection.Range();
    const CLoggerRecord& record = range.m_nCount > 0 ? range : whole;
    if (record.m_nReceived <= 0 || m_workflow.IsDownloading())
        return;
    const QString proposed = OpenStartFolder() + QLatin1Char('/')
        + DefaultSaveName(whole.m_strValue[ROW_ID], record.m_tStart);
    const QStringList filters = SaveFilters(m_display.language);
    const SaveChoice choice = m_pfnChooseSaveFile ? m_pfnChooseSaveFile(proposed, filters)
                                                  : AskForFile(this, proposed, filters);
    if (choice.path.isEmpty())
        return;
    const SaveTarget target = ResolveSaveTarget(choice.path, choice.filter);
    if (!target.kind)
        return;
    if (QFileInfo::exists(target.path)
        && !Ask(QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(target.name)))
        return;
    m_strLastFolder = QFileInfo(target.path).absolutePath();
    SetStatusText(GetText(TextId::Saving, m_display.language));
    m_pStatus->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    const bool saved = target.kind->write(record, m_display, target.path, &why);
    QApplication::restoreOverrideCursor();
    SetStatusText(saved ? GetText(TextId::FileSaved, m_display.language) + target.name
                        : GetText(TextId::SaveFailed, m_display.language) + target.name + QStringLiteral(": ") + why);
    if (saved)
        m_audit.Saved(target.kind->extension, target.path, record);
    if (saved && QLatin1String(target.kind->extension) == QLatin1String("tavo"))
        IndexSavedFile(target.path);
    // A selected range leaves the rest of the download unsaved.
    if (saved && &record == &whole)
        m_bUnsavedDownload = false;
}
