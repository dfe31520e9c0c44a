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
// the window's own maker turns a row into a widget. Controls are made in
// row order, which is also their tab order.
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
    // parent.
    void Rescale(float scale, const QFont& font, QPoint origin = {});

    const std::vector<std::pair<int, QWidget*>>& All() const { return m_controls; }

private:
    void Add(int id, QWidget* control, const QRect& du, const DialogBaseUnits& units, const QString& prefix);
    QWidget* Find(int id) const;

    std::vector<std::pair<int, QWidget*>> m_controls;
};
