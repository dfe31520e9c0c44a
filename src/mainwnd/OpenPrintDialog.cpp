// The Print command: the print preview over the main window.
#include "mainwnd/MolvaneQuillmarDlg.h"

#include "report/ui/TavoPrintDlg.h"

void CMolvaneQuillmarDlg::OpenPrintDialog()
{
    CTavoPrintDlg dialog(this, m_fScale, g_LoggerRecord);
    dialog.exec();
}
