#include "mainwnd/AboutDlg.h"

#include "views/DialogScale.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Halvern Software TH"));
    setFont(DialogFont());
    const DialogBaseUnits u = BaseUnitsOf(font());
    setFixedSize(DluToPixels(0, 0, 235, 55, u).size());
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/halvern/icon.png")).pixmap(32, 32));
    icon->setGeometry(DluToPixels(11, 17, 20, 20, u));
    auto* text = new QLabel(QStringLiteral("Halvern Software TH Version 1.81"), this);
    text->setGeometry(DluToPixels(40, 14, 119, 8, u).adjusted(0, -2, 0, 2));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(DluToPixels(178, 7, 50, 14, u));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
