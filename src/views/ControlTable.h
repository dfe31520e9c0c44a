#pragma once

#include "views/DialogScale.h"

#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

// The controls of a window made from its template: one row per control
// with its id and its rectangle in dialog units (members id, x, y, w, h);
// the window's own maker turns a row into a widget. Controls are made in row
// order, which is also their tab order.
class ControlTable {
public:
    // Makes every row's control, names it prefix + id (no name for an empty
    // prefix) and places it at its template rectangle.
    template <class Row, class Make>
    void Build(const Row* first, const Row* last, const DialogBaseUnits& units, const QString& prefix, Make make)
    {
        for (const Row* row = first; row != last; ++row)
            Add(row->id, make(*row), QRect(row->x, row->y, row->w, row->h), units, prefix);
    }

    template <class Row, std::size_t N, class Make>
    void Build(const Row (&rows)[N], const DialogBaseUnits& units, const QString& prefix, Make make)
    {
        Build(rows, rows + N, units, prefix, make);
    }

    // The control with this id, or null if there is none or it is not a W.
    template <class W = QWidget>
    W* Get(int id) const
    {
        return dynamic_cast<W*>(Find(id));
    }

    // Every control takes the font and is scaled: its centre is scaled,
    // its half sizes multiplied and truncated. origin is where the parent
    // sits in the window being scaled; the controls stay relative to the
    // parent. Starts from the controls' present places: for a one-time fit.
    void Rescale(float scale, const QFont& font, QPoint origin = {});

    // How the control with this id follows the room beyond the template
    // (Grow flags); every control keeps its place until told.
    void SetGrow(int id, unsigned grow);

    // Every control takes the font and its place from its template
    // rectangle at this scale, moved or stretched by the room (see
    // PlaceFromUnits): for a window placed again at each size.
    void Place(float scale, const QFont& font, QPoint origin, QSize room);

    const std::vector<std::pair<int, QWidget*>>& All() const { return m_controls; }

private:
    struct Units {
        QRect du;
        unsigned grow = kGrowNone;
    };

    void Add(int id, QWidget* control, const QRect& du, const DialogBaseUnits& units, const QString& prefix);
    QWidget* Find(int id) const;

    std::vector<std::pair<int, QWidget*>> m_controls;
    std::vector<Units> m_units; // one per control, in the same order
    DialogBaseUnits m_baseUnits;
};
