#include "mainwnd/ArchiveWindow.h"

#include "base/TextTable.h"
#include "datafile/LoggerFile.h"
#include "mainwnd/ArchiveSettingsDlg.h"
#include "mainwnd/ArchiveTableModel.h"
#include "mainwnd/AuditTrailPane.h"
#include "mainwnd/WindowArchive.h"
#include "views/OverlayGraph.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kTypingPauseMs = 300;
// A mission's trail goes on past its stop: its download and saves follow it.
constexpr time64 kTrailAfterStop = 3600;
const QString kPickerFormat = QStringLiteral("yyyy-M-d HH:mm");

QDateTimeEdit* MakePicker(const QDateTime& at, QWidget* parent)
{
    auto* picker = new QDateTimeEdit(at, parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(kPickerFormat);
    picker->setEnabled(false);
    return picker;
}

} // namespace

CArchiveWindow::CArchiveWindow(CWindowArchive& archive, const DisplaySettings& display, Opener open, QWidget* parent)
    : QWidget(parent, Qt::Window), m_archive(archive), m_display(display), m_open(std::move(open))
{
    setWindowTitle(GetText(TextId::ArchiveTitle, Language()));
    setObjectName(QStringLiteral("archiveWindow"));
    m_pModel = new CArchiveTableModel(archive.Archive(), Language(), this);

    auto* top = new QHBoxLayout;
    m_pAddress = new QLabel(this);
    m_pAddress->setTextFormat(Qt::PlainText);
    m_pAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* refresh = new QPushButton(GetText(TextId::ArchiveRefresh, Language()), this);
    auto* settings = new QPushButton(GetText(TextId::ArchiveSettings, Language()), this);
    top->addWidget(m_pAddress, 1);
    top->addWidget(refresh);
    top->addWidget(settings);

    m_pTable = new QTableView(this);
    m_pTable->setModel(m_pModel);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pTable->setAlternatingRowColors(true);
    m_pTable->setWordWrap(false);
    m_pTable->verticalHeader()->hide();
    m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 6);
    m_pTable->horizontalHeader()->setSortIndicator(CMissionModel::ColStart, Qt::DescendingOrder);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    SetColumnWidths();

    auto* tableButtons = new QHBoxLayout;
    m_pTotal = new QLabel(this);
    m_pOpenButton = new QPushButton(GetText(TextId::ArchiveOpen, Language()), this);
    m_pOverlayButton = new QPushButton(GetText(TextId::ArchiveOverlay, Language()), this);
    m_pTrailButton = new QPushButton(GetText(TextId::Trail, Language()), this);
    tableButtons->addWidget(m_pTotal, 1);
    tableButtons->addWidget(m_pOpenButton);
    tableButtons->addWidget(m_pOverlayButton);
    tableButtons->addWidget(m_pTrailButton);
    auto* tablePane = new QWidget(this);
    auto* tableLayout = new QVBoxLayout(tablePane);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->addWidget(m_pTable, 1);
    tableLayout->addLayout(tableButtons);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(tablePane);
    splitter->addWidget(MakeLowerTabs());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    m_pStatus = new QLabel(this);
    m_pStatus->setTextFormat(Qt::PlainText);
    m_pStatus->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(MakeFilterRow());
    layout->addWidget(splitter, 1);
    layout->addWidget(m_pStatus);
    resize(1100, 800);

    m_idTyping.setSingleShot(true);
    m_idTyping.setInterval(kTypingPauseMs);
    connect(&m_idTyping, &QTimer::timeout, this, &CArchiveWindow::Reload);
    connect(refresh, &QPushButton::clicked, &m_archive, &CWindowArchive::Reset);
    connect(settings, &QPushButton::clicked, this, &CArchiveWindow::EditSettings);
    connect(m_pTable, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { OpenRow(index.row()); });
    connect(m_pOpenButton, &QPushButton::clicked, this, [this] { OpenRow(m_pTable->currentIndex().row()); });
    connect(m_pOverlayButton, &QPushButton::clicked, this, &CArchiveWindow::OverlaySelected);
    connect(m_pTrailButton, &QPushButton::clicked, this, &CArchiveWindow::ShowTrail);
    connect(&m_archive, &CWindowArchive::Changed, this, &CArchiveWindow::Reload);
    Reload();
}

QWidget* CArchiveWindow::MakeFilterRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pId = new QLineEdit(row);
    m_pId->setClearButtonEnabled(true);
    m_pId->setMaxLength(32);
    m_pId->setMinimumWidth(m_pId->fontMetrics().horizontalAdvance(QStringLiteral("UTH00000000")) + 40);
    const QDateTime now = QDateTime::currentDateTime();
    m_pFromOn = new QCheckBox(GetText(TextId::ArchiveFrom, Language()), row);
    m_pFrom = MakePicker(QDateTime(now.date().addMonths(-1), QTime(0, 0)), row);
    m_pToOn = new QCheckBox(GetText(TextId::ArchiveTo, Language()), row);
    m_pTo = MakePicker(QDateTime(now.date(), QTime(23, 59)), row);
    m_pAlarms = new QCheckBox(GetText(TextId::ArchiveWithAlarms, Language()), row);
    layout->addWidget(new QLabel(GetText(TextId::ArchiveLoggerId, Language()), row));
    layout->addWidget(m_pId);
    layout->addSpacing(12);
    layout->addWidget(m_pFromOn);
    layout->addWidget(m_pFrom);
    layout->addWidget(m_pToOn);
    layout->addWidget(m_pTo);
    layout->addSpacing(12);
    layout->addWidget(m_pAlarms);
    layout->addStretch(1);

    connect(m_pId, &QLineEdit::textEdited, this, [this] { m_idTyping.start(); });
    connect(m_pId, &QLineEdit::returnPressed, this, [this] {
        m_idTyping.stop();
        Reload();
    });
    for (auto [check, picker] : {std::pair(m_pFromOn, m_pFrom), std::pair(m_pToOn, m_pTo)}) {
        connect(check, &QCheckBox::toggled, picker, &QWidget::setEnabled);
        connect(check, &QCheckBox::toggled, this, &CArchiveWindow::Reload);
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, &CArchiveWindow::Reload);
    }
    connect(m_pAlarms, &QCheckBox::toggled, this, &CArchiveWindow::Reload);
    return row;
}

QWidget* CArchiveWindow::MakeOverlayPane()
{
    auto* pane = new QWidget(this);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* choices = new QHBoxLayout;
    auto* clock = new QRadioButton(GetText(TextId::ArchiveClockTime, Language()), pane);
    m_pElapsed = new QRadioButton(GetText(TextId::ArchiveElapsedTime, Language()), pane);
    m_pTemperature = new QRadioButton(GetText(TextId::TemperatureColumn, Language()), pane);
    m_pHumidity = new QRadioButton(GetText(TextId::HumidityColumn, Language()), pane);
    auto* times = new QButtonGroup(pane);
    auto* channels = new QButtonGroup(pane);
    times->addButton(clock);
    times->addButton(m_pElapsed);
    channels->addButton(m_pTemperature);
    channels->addButton(m_pHumidity);
    clock->setChecked(true);
    m_pTemperature->setChecked(true);
    m_pHumidity->setEnabled(false);
    choices->addWidget(clock);
    choices->addWidget(m_pElapsed);
    choices->addSpacing(24);
    choices->addWidget(m_pTemperature);
    choices->addWidget(m_pHumidity);
    choices->addStretch(1);
    m_pOverlay = new COverlayGraph(m_display, pane);
    layout->addLayout(choices);
    layout->addWidget(m_pOverlay, 1);

    connect(m_pElapsed, &QRadioButton::toggled, this, [this](bool elapsed) {
        m_pOverlay->SetTimeMode(elapsed ? OverlayTime::Elapsed : OverlayTime::Clock);
    });
    connect(m_pHumidity, &QRadioButton::toggled, this, [this](bool humidity) {
        m_pOverlay->SetChannel(humidity ? OverlayChannel::Humidity : OverlayChannel::Temperature);
    });
    return pane;
}

QWidget* CArchiveWindow::MakeLowerTabs()
{
    m_pLower = new QTabWidget(this);
    m_pTrail = new CAuditTrailPane(Language(), m_pLower);
    m_pLower->addTab(MakeOverlayPane(), GetText(TextId::ArchiveOverlay, Language()));
    m_pLower->addTab(m_pTrail, GetText(TextId::Trail, Language()));
    return m_pLower;
}

void CArchiveWindow::SetColumnWidths()
{
    const QFontMetrics fm = m_pTable->fontMetrics();
    const int pad = 3 * fm.averageCharWidth();
    const auto width = [&](const QString& sample, int column) {
        const QString caption = m_pModel->headerData(column, Qt::Horizontal).toString();
        return std::max(fm.horizontalAdvance(sample), fm.horizontalAdvance(caption) + 2 * pad) + pad;
    };
    m_pTable->setColumnWidth(CMissionModel::ColId, width(QStringLiteral("UTH00000000"), CMissionModel::ColId));
    m_pTable->setColumnWidth(CMissionModel::ColStart, width(QStringLiteral("2026-12-31 23:59"), CMissionModel::ColStart));
    m_pTable->setColumnWidth(CMissionModel::ColStop, width(QStringLiteral("2026-12-31 23:59"), CMissionModel::ColStop));
    m_pTable->setColumnWidth(CMissionModel::ColSamples, width(QStringLiteral("60000"), CMissionModel::ColSamples));
    m_pTable->setColumnWidth(CMissionModel::ColExcursions, width(QStringLiteral("999"), CMissionModel::ColExcursions));
}

ArchiveFilter CArchiveWindow::Filter() const
{
    ArchiveFilter filter;
    filter.loggerId = m_pId->text().trimmed();
    if (m_pFromOn->isChecked())
        filter.from = m_pFrom->dateTime().toSecsSinceEpoch();
    if (m_pToOn->isChecked())
        filter.to = m_pTo->dateTime().toSecsSinceEpoch();
    filter.alarmsOnly = m_pAlarms->isChecked();
    return filter;
}

void CArchiveWindow::Reload()
{
    ShowAddress();
    QString error;
    if (!m_archive.Open(error)) {
        m_pTable->setSortingEnabled(false);
        m_pModel->Clear();
        m_pTotal->clear();
        m_pOpenButton->setEnabled(false);
        m_pOverlayButton->setEnabled(false);
        m_pTrailButton->setEnabled(false);
        SetStatus(GetText(TextId::ArchiveCannotOpen, Language()).arg(error));
        return;
    }
    const bool listed = m_pModel->SetFilter(Filter(), error);
    // Sorting asks the database in the order the header shows.
    if (!m_pTable->isSortingEnabled())
        m_pTable->setSortingEnabled(true);
    m_pTotal->setText(GetText(TextId::ArchiveTotal, Language()).arg(m_pModel->Total()));
    m_pOpenButton->setEnabled(listed);
    m_pOverlayButton->setEnabled(listed);
    m_pTrailButton->setEnabled(true);
    SetStatus(listed ? QString() : error);
}

void CArchiveWindow::ShowAddress()
{
    ArchiveAddress address;
    QString error;
    const QString where = CWindowArchive::AddressInForce(address, error) ? address.Display()
                                                                          : CWindowArchive::StoredAddress();
    m_pAddress->setText(GetText(TextId::ArchiveIn, Language()).arg(where));
}

void CArchiveWindow::OpenRow(int row)
{
    if (row < 0 || row >= m_pModel->rowCount())
        return;
    QString message;
    m_open(m_pModel->Row(row).file, message);
    SetStatus(message.trimmed());
}

void CArchiveWindow::OverlaySelected()
{
    QModelIndexList rows = m_pTable->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.size() > COverlayGraph::MaxMissions()) {
        SetStatus(GetText(TextId::ArchiveOverlayCount, Language()).arg(COverlayGraph::MaxMissions()));
        return;
    }
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<OverlayMission> missions;
    QStringList left;
    for (const QModelIndex& index : rows) {
        const MissionRow& row = m_pModel->Row(index.row());
        CLoggerRecord record;
        QString why;
        if (!QFileInfo::exists(row.file))
            why = GetText(TextId::ArchiveFileMissing, Language()).arg(row.file).trimmed();
        else if (OpenDataFileRecord(row.file, record, m_display, nullptr, &why) == OpenDataResult::Loaded)
            missions.push_back(OverlayMissionOf(record));
        else
            why = row.file + QStringLiteral(": ") + why;
        if (!why.isEmpty())
            left << row.loggerId + QStringLiteral(" (") + why + QLatin1Char(')');
    }
    const bool humidity = std::any_of(missions.begin(), missions.end(),
                                      [](const OverlayMission& m) { return m.HasHumidity(); });
    m_pHumidity->setEnabled(humidity);
    if (!humidity)
        m_pTemperature->setChecked(true);
    m_pOverlay->SetMissions(std::move(missions));
    m_pLower->setCurrentWidget(m_pOverlay->parentWidget());
    SetStatus(left.isEmpty() ? QString() : GetText(TextId::ArchiveNotOverlaid, Language()).arg(left.join(QStringLiteral("; "))));
}

bool CArchiveWindow::TrailFilter(AuditFilter& filter) const
{
    const QModelIndexList rows = m_pTable->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        const ArchiveFilter typed = Filter();
        filter = {typed.loggerId, typed.from, typed.to};
        return !filter.loggerId.isEmpty();
    }
    const MissionRow& row = m_pModel->Row(rows.front().row());
    filter.loggerId = row.loggerId;
    filter.from = row.start;
    const time64 until = row.stop + kTrailAfterStop;
    if (until < QDateTime::currentSecsSinceEpoch())
        filter.to = until;
    else
        filter.to.reset();
    return true;
}

void CArchiveWindow::ShowTrail()
{
    m_pLower->setCurrentWidget(m_pTrail);
    QString error;
    AuditFilter filter;
    if (!m_archive.Open(error))
        SetStatus(GetText(TextId::ArchiveCannotOpen, Language()).arg(error));
    else if (!TrailFilter(filter))
        m_pTrail->ShowHint();
    else
        m_pTrail->Show(m_archive.Archive(), filter);
}

void CArchiveWindow::EditSettings()
{
    CArchiveSettingsDlg dialog(Language(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_archive.Reset();
}

QString CArchiveWindow::TotalText() const
{
    return m_pTotal->text();
}

QString CArchiveWindow::StatusText() const
{
    return m_pStatus->text();
}

void CArchiveWindow::SetStatus(const QString& text)
{
    m_pStatus->setText(text);
}

bool CArchiveWindow::event(QEvent* event)
{
    // The unit may have changed in the main window meanwhile.
    if (event->type() == QEvent::WindowActivate)
        m_pOverlay->update();
    return QWidget::event(event);
}
