// The Print command: the print preview over the main window.
#include "mainwnd/MainDialog.h"

#include "report/ui/PrintPreviewDlg.h"

void CMainDialog::OpenPrintDialog()
{
    CPrintPreviewDlg dialog(this, m_fScale, g_LoggerRecord, m_display);
    dialog.exec();
}
