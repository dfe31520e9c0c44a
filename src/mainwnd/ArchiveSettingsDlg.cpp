#include "mainwnd/ArchiveSettingsDlg.h"

#include "archive/ArchiveAddress.h"
#include "base/TextTable.h"
#include "mainwnd/WindowArchive.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CArchiveSettingsDlg::CArchiveSettingsDlg(std::uint16_t language, QWidget* parent)
    : QDialog(parent), m_language(language)
{
    setWindowTitle(GetText(TextId::ArchiveTitle, language));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(GetText(TextId::ArchiveAddress, language), this));
    m_pAddress = new QLineEdit(CWindowArchive::StoredAddress(), this);
    m_pAddress->setPlaceholderText(DefaultArchivePath());
    m_pAddress->setMinimumWidth(m_pAddress->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 70);
    layout->addWidget(m_pAddress);
    auto* help = new QLabel(GetText(TextId::ArchiveAddressHelp, language).arg(DefaultArchivePath()), this);
    help->setTextFormat(Qt::PlainText);
    help->setWordWrap(true);
    layout->addWidget(help);
    m_pRefusal = new QLabel(this);
    m_pRefusal->setTextFormat(Qt::PlainText);
    m_pRefusal->setWordWrap(true);
    m_pRefusal->setStyleSheet(QStringLiteral("color: #B00020;"));
    m_pRefusal->hide();
    layout->addWidget(m_pRefusal);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(GetText(TextId::Ok, language), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(GetText(TextId::Cancel, language), QDialogButtonBox::RejectRole);
    QPushButton* byDefault = buttons->addButton(GetText(TextId::ArchiveDefault, language), QDialogButtonBox::ResetRole);
    connect(byDefault, &QPushButton::clicked, m_pAddress, &QLineEdit::clear);
    connect(buttons, &QDialogButtonBox::accepted, this, &CArchiveSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CArchiveSettingsDlg::reject);
    layout->addWidget(buttons);
}

QString CArchiveSettingsDlg::Refusal() const
{
    return m_pRefusal->isHidden() ? QString() : m_pRefusal->text();
}

void CArchiveSettingsDlg::accept()
{
    const QString text = m_pAddress->text().trimmed();
    ArchiveAddress address;
    QString error;
    if (!text.isEmpty() && !ParseArchiveAddress(text, address, error)) {
        m_pRefusal->setText(GetText(TextId::ArchiveAddressRefused, m_language).arg(error));
        m_pRefusal->show();
        return;
    }
    m_pRefusal->hide();
    CWindowArchive::StoreAddress(text);
    QDialog::accept();
}
