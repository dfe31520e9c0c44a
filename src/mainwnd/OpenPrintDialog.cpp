// The Print command: the print preview over the main window.
#include "mainwnd/MainDialog.h"

#include "report/ui/PrintPreviewDlg.h"

void CMainDialog::OpenPrintDialog()
{
    CPrintPreviewDlg dialog(this, m_fScale, m_connection.Record(), m_display);
    dialog.SetPrintedListener([&](const QPrinter& printer) { m_audit.Printed(printer, dialog.Data(), dialog.Mode()); });
    connect(&dialog, &CPrintPreviewDlg::Printed, this, &CMainDialog::SetStatusText);
    dialog.exec();
}
