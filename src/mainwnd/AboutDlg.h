#pragma once

#include <QDialog>

// The About box: icon, program name and version, OK.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
