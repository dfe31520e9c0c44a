#pragma once

#include "archive/AuditTrail.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

// An entry's time in this computer's zone with its offset,
// e.g. "2026-06-01 14:30:05 +02:00"; the text as stored when it is no time.
QString LocalAuditTime(const QString& utc);
// An entry's detail for reading: "samples: 144, file: /data/a.tavo"; an
// object within shown in braces; the text as stored when it is no object.
QString ReadableAuditDetail(const QString& json);

// The entries of the audit trail as a read-only table, oldest first; the
// detail's stored JSON is its tooltip.
class CAuditTrailModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColSeq, ColTime, ColUser, ColHost, ColAction, ColLogger, ColDetail, ColumnCount };

    explicit CAuditTrailModel(std::uint16_t language, QObject* parent = nullptr);

    void SetEntries(std::vector<AuditEntry> entries);
    const AuditEntry& Entry(int row) const { return m_entries[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString Text(const AuditEntry& entry, int column) const;

    std::uint16_t m_language;
    std::vector<AuditEntry> m_entries;
};
