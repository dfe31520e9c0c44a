#pragma once

#include <QTableView>
#include <functional>

class CStationRowModel;

// The station list as a page of the main window's tabs: one row per logger,
// columns as wide as their texts. A double click on a row
// with a data file hands that file to the opener.
class CStationView : public QTableView {
public:
    CStationView(CStationRowModel& model, QWidget* parent = nullptr);
    void SetOpener(std::function<void(const QString& dataFile)> opener) { m_open = std::move(opener); }
    // What a double click on row does: opens its data file, when it has one.
    void Activate(int row);

protected:
    void changeEvent(QEvent* event) override;

private:
    CStationRowModel& m_model;
    std::function<void(const QString&)> m_open;
};
