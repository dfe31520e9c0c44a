#include "views/ControlTable.h"

#include <algorithm>

void ControlTable::Add(int id, QWidget* control, const QRect& du, const DialogBaseUnits& units, const QString& prefix)
{
    if (!prefix.isEmpty())
        control->setObjectName(prefix + QString::number(id));
    control->setGeometry(DluToPixels(du, units));
    m_controls.emplace_back(id, control);
    m_units.push_back({du, kGrowNone});
    m_baseUnits = units;
}

QWidget* ControlTable::Find(int id) const
{
    const auto it = std::find_if(m_controls.begin(), m_controls.end(), [id](const auto& c) { return c.first == id; });
    return it == m_controls.end() ? nullptr : it->second;
}

void ControlTable::SetGrow(int id, unsigned grow)
{
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i].first == id)
            m_units[i].grow = grow;
}

void ControlTable::Rescale(float scale, const QFont& font, QPoint origin)
{
    for (const auto& [id, control] : m_controls) {
        control->setFont(font);
        control->setGeometry(ScaleControlRect(control->geometry().translated(origin), scale, origin));
    }
}

void ControlTable::Place(float scale, const QFont& font, QPoint origin, QSize room)
{
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        QWidget* control = m_controls[i].second;
        control->setFont(font);
        control->setGeometry(PlaceFromUnits(m_units[i].du, m_baseUnits, scale, origin, m_units[i].grow, room));
    }
}
