#include "mainwnd/AboutDlg.h"

#include "views/DialogScale.h"

#include <QGridLayout>
#include <algorithm>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(const std::vector<KeyListLine>& keys, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Halvern Software TH"));
    setFont(DialogFont());
    const DialogBaseUnits u = BaseUnitsOf(font());
    const QSize box = DluToPixels(0, 0, 235, 55, u).size();
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/halvern/icon.png")).pixmap(32, 32));
    icon->setGeometry(DluToPixels(11, 17, 20, 20, u));
    auto* text = new QLabel(QStringLiteral("Halvern Software TH Version 1.81"), this);
    text->setGeometry(DluToPixels(40, 14, 119, 8, u).adjusted(0, -2, 0, 2));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(DluToPixels(178, 7, 50, 14, u));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The keys below, in a block as wide as the box's text.
    auto* list = new QWidget(this);
    m_pKeys = new QGridLayout(list);
    m_pKeys->setContentsMargins(0, 0, 0, 0);
    m_pKeys->setHorizontalSpacing(3 * u.avgWidth);
    m_pKeys->setVerticalSpacing(2);
    for (int row = 0; row < static_cast<int>(keys.size()); ++row) {
        m_pKeys->addWidget(new QLabel(keys[row].keys, list), row, 0);
        m_pKeys->addWidget(new QLabel(keys[row].command, list), row, 1);
    }
    m_pKeys->setColumnStretch(1, 1);
    const QRect area = DluToPixels(11, 45, 213, 0, u);
    const int height = keys.empty() ? 0 : list->sizeHint().height();
    list->setGeometry(area.x(), area.y(), std::max(area.width(), list->sizeHint().width()), height);
    setFixedSize(std::max(box.width(), list->geometry().right() + area.x()),
                 keys.empty() ? box.height() : list->geometry().bottom() + DluToPixels(0, 0, 0, 7, u).height());
}
