#include "mainwnd/AuditTrailPane.h"

#include "base/AuditEvent.h"
#include "base/TextTable.h"
#include "mainwnd/AuditTrailModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QLabel* MakeLine(QWidget* parent)
{
    auto* line = new QLabel(parent);
    line->setTextFormat(Qt::PlainText);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return line;
}

} // namespace

CAuditTrailPane::CAuditTrailPane(std::uint16_t language, QWidget* parent) : QWidget(parent), m_language(language)
{
    m_pModel = new CAuditTrailModel(language, this);
    m_pVerdict = MakeLine(this);
    m_pScope = MakeLine(this);
    m_pTable = new QTableView(this);
    m_pTable->setModel(m_pModel);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setAlternatingRowColors(true);
    m_pTable->setWordWrap(false);
    m_pTable->verticalHeader()->hide();
    m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 6);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    SetColumnWidths();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pVerdict);
    layout->addWidget(m_pScope);
    layout->addWidget(m_pTable, 1);
    ShowHint();
}

void CAuditTrailPane::SetColumnWidths()
{
    const QFontMetrics fm = m_pTable->fontMetrics();
    const int pad = 3 * fm.averageCharWidth();
    const auto width = [&](int column, const QString& sample) {
        const QString caption = m_pModel->headerData(column, Qt::Horizontal).toString();
        m_pTable->setColumnWidth(column, std::max(fm.horizontalAdvance(sample), fm.horizontalAdvance(caption)) + pad);
    };
    width(CAuditTrailModel::ColSeq, QStringLiteral("000000"));
    width(CAuditTrailModel::ColTime, QStringLiteral("2026-12-31 23:59:59 +00:00"));
    width(CAuditTrailModel::ColUser, QStringLiteral("operator"));
    width(CAuditTrailModel::ColHost, QStringLiteral("station-01"));
    width(CAuditTrailModel::ColAction, QStringLiteral("clock set"));
    width(CAuditTrailModel::ColLogger, QStringLiteral("UTH00000000"));
}

void CAuditTrailPane::ShowHint()
{
    m_pModel->SetEntries({});
    m_pVerdict->setText(GetText(TextId::TrailChoose, m_language));
    m_pVerdict->setStyleSheet({});
    m_pScope->clear();
}

void CAuditTrailPane::Show(CArchive& archive, const AuditFilter& filter)
{
    std::vector<AuditEntry> entries;
    QString error;
    if (!archive.ListAudit(filter, entries, error)) {
        m_pModel->SetEntries({});
        m_pVerdict->setText(GetText(TextId::TrailCannotRead, m_language).arg(error));
        m_pVerdict->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
        m_pScope->clear();
        return;
    }
    const int count = static_cast<int>(entries.size());
    m_pModel->SetEntries(std::move(entries));
    m_pScope->setText(Scope(filter, count));
    ShowVerdict(archive);
}

void CAuditTrailPane::ShowVerdict(CArchive& archive)
{
    AuditVerdict verdict;
    QString error;
    const bool read = archive.VerifyAudit(verdict, error);
    // A broken chain must not pass unseen.
    m_pVerdict->setStyleSheet(read && verdict.intact ? QString() : QStringLiteral("color: #b00000; font-weight: bold"));
    if (!read)
        m_pVerdict->setText(GetText(TextId::TrailCannotRead, m_language).arg(error));
    else if (verdict.intact)
        m_pVerdict->setText(GetText(TextId::TrailIntact, m_language).arg(verdict.entries));
    else
        m_pVerdict->setText(GetText(TextId::TrailBroken, m_language).arg(verdict.seq).arg(verdict.problem));
}

QString CAuditTrailPane::Scope(const AuditFilter& filter, int count) const
{
    if (!filter.from && !filter.to)
        return GetText(TextId::TrailOfLogger, m_language).arg(filter.loggerId).arg(count);
    const auto local = [this](const std::optional<time64>& at) {
        return at ? LocalAuditTime(AuditTime(*at)) : GetText(TextId::TrailNow, m_language);
    };
    return GetText(TextId::TrailOfMission, m_language)
        .arg(filter.loggerId, filter.from ? local(filter.from) : QStringLiteral("-"), local(filter.to))
        .arg(count);
}

QString CAuditTrailPane::VerdictText() const
{
    return m_pVerdict->text();
}

QString CAuditTrailPane::ScopeText() const
{
    return m_pScope->text();
}
