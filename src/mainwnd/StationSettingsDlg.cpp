#include "mainwnd/StationSettingsDlg.h"

#include "base/TextTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Wide enough for a folder path of usual length.
constexpr int kFolderChars = 48;

} // namespace

CStationSettingsDlg::CStationSettingsDlg(const StationSettings& settings, std::uint16_t language, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_language(language)
{
    const auto text = [language](TextId id) { return GetText(id, language); };
    setWindowTitle(text(TextId::StationSettingsTitle));

    m_folder = new QLineEdit(QDir::toNativeSeparators(settings.folder), this);
    m_folder->setMinimumWidth(m_folder->fontMetrics().averageCharWidth() * kFolderChars);
    auto* browse = new QPushButton(text(TextId::Browse), this);
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &CStationSettingsDlg::Browse);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);

    m_pdf = new QCheckBox(text(TextId::PdfReport), this);
    m_worksheet = new QCheckBox(text(TextId::WorksheetReport), this);
    m_csv = new QCheckBox(text(TextId::CsvReport), this);
    m_stop = new QCheckBox(text(TextId::StopAfterDownload), this);
    m_pdf->setChecked(settings.reports.pdf);
    m_worksheet->setChecked(settings.reports.xlsx);
    m_csv->setChecked(settings.reports.csv);
    m_stop->setChecked(settings.stopAfterDownload);
    auto* reportRow = new QHBoxLayout;
    for (QCheckBox* box : {m_pdf, m_worksheet, m_csv})
        reportRow->addWidget(box);
    reportRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text(TextId::ArchiveFolder), this));
    layout->addLayout(folderRow);
    layout->addSpacing(m_folder->fontMetrics().height() / 2);
    layout->addWidget(new QLabel(text(TextId::ReportsCaption), this));
    layout->addLayout(reportRow);
    layout->addSpacing(m_folder->fontMetrics().height() / 2);
    layout->addWidget(m_stop);
    layout->addStretch(1);
    layout->addWidget(buttons);
}

void CStationSettingsDlg::Browse()
{
    const QString start = m_folder->text().trimmed();
    const QString chosen = m_chooseFolder
        ? m_chooseFolder(start)
        : QFileDialog::getExistingDirectory(this, GetText(TextId::ChooseArchiveFolder, m_language), start);
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

StationSettings CStationSettingsDlg::Settings() const
{
    StationSettings settings = m_settings;
    const QString folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    if (!folder.isEmpty())
        settings.folder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    settings.reports.pdf = m_pdf->isChecked();
    settings.reports.xlsx = m_worksheet->isChecked();
    settings.reports.csv = m_csv->isChecked();
    settings.stopAfterDownload = m_stop->isChecked();
    return settings;
}
