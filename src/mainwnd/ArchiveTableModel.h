#pragma once

#include "archive/MissionModel.h"
#include "base/DisplaySettings.h"

// The archive's missions as the Archive view shows them: captions in the
// window's language, numbers right-aligned, a missing data file marked.
class CArchiveTableModel : public CMissionModel {
public:
    CArchiveTableModel(CArchive& archive, std::uint16_t language, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::uint16_t m_language;
};
