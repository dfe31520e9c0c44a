#pragma once

#include "RecordFixture.h"
#include "views/GraphPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <vector>

// The graph page's range controls, on a page of its own or the main window's.
inline QDateTimeEdit* GraphPicker(const CGraphPage& page, int id)
{
    return page.Control<QDateTimeEdit>(id);
}

inline time64 GraphPickerTime(const CGraphPage& page, int id)
{
    return GraphPicker(page, id)->dateTime().toSecsSinceEpoch();
}

inline void SetGraphPickers(const CGraphPage& page, time64 from, time64 to)
{
    GraphPicker(page, CGraphPage::IDC_SELECTION_START)->setDateTime(QDateTime::fromSecsSinceEpoch(from));
    GraphPicker(page, CGraphPage::IDC_SELECTION_END)->setDateTime(QDateTime::fromSecsSinceEpoch(to));
}

inline QCheckBox* GraphSaveSelection(const CGraphPage& page)
{
    return page.Control<QCheckBox>(CGraphPage::IDC_SAVE_SELECTION);
}

// The graph page shown at 600 x 420 drawing `record` in the settings
// `display` (its range selected into `range`), keeping the notices and the
// area-tab requests it sends.
class ShownGraphPage : public ::testing::Test {
protected:
    using V = CGraphPage;

    ShownGraphPage()
    {
        page.SetNotifier([this](const QString& text) { notices.push_back(text); });
        QObject::connect(&page, &V::AreaTabsWanted, [this](bool show) { areaTabs.push_back(show); });
        page.resize(600, 420);
        page.show();
    }

    QWidget* Ctl(int id) { return page.Control(id); }
    QDateTimeEdit* Picker(int id) { return GraphPicker(page, id); }
    time64 PickerTime(int id) { return GraphPickerTime(page, id); }
    void SetPickers(time64 from, time64 to) { SetGraphPickers(page, from, to); }
    QCheckBox* SaveSelection() { return GraphSaveSelection(page); }
    // A mouse event on the page; the left button is held from press to release.
    void Mouse(QEvent::Type type, QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pos, page.mapToGlobal(pos), button, held, mods);
        QApplication::sendEvent(&page, &event);
    }

    CLoggerRecord record;
    CLoggerRecord range;
    DisplaySettings display;
    V page{record, range, display};
    std::vector<QString> notices;
    std::vector<bool> areaTabs;
};
