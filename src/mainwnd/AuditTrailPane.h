#pragma once

#include "archive/Archive.h"

#include <QWidget>
#include <cstdint>

class CAuditTrailModel;
class QLabel;
class QTableView;

// The audit trail of a logger or of a mission in a read-only table, under
// a line that says whether the archive's whole chain checks out and a line
// that says whose entries are listed.
class CAuditTrailPane : public QWidget {
    Q_OBJECT

public:
    explicit CAuditTrailPane(std::uint16_t language, QWidget* parent = nullptr);

    // Lists the entries the filter lets through and checks the chain.
    void Show(CArchive& archive, const AuditFilter& filter);
    // Empties the table and says how to choose a trail.
    void ShowHint();

    CAuditTrailModel* Model() const { return m_pModel; }
    QTableView* Table() const { return m_pTable; }
    QString VerdictText() const;
    QString ScopeText() const;

private:
    void ShowVerdict(CArchive& archive);
    QString Scope(const AuditFilter& filter, int count) const;
    void SetColumnWidths();

    std::uint16_t m_language;
    CAuditTrailModel* m_pModel = nullptr;
    QTableView* m_pTable = nullptr;
    QLabel* m_pVerdict = nullptr;
    QLabel* m_pScope = nullptr;
};
