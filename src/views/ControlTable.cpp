#include "views/ControlTable.h"

#include <algorithm>

void ControlTable::Add(int id, QWidget* control, const QRect& du, const DialogBaseUnits& units, const QString& prefix)
{
    if (!prefix.isEmpty())
        control->setObjectName(prefix + QString::number(id));
    control->setGeometry(DluToPixels(du, units));
    m_controls.emplace_back(id, control);
}

QWidget* ControlTable::Find(int id) const
{
    const auto it = std::find_if(m_controls.begin(), m_controls.end(), [id](const auto& c) { return c.first == id; });
    return it == m_controls.end() ? nullptr : it->second;
}

void ControlTable::Rescale(float scale, const QFont& font, QPoint origin)
{
    for (const auto& [id, control] : m_controls) {
        control->setFont(font);
        control->setGeometry(ScaleControlRect(control->geometry().translated(origin), scale, origin));
    }
}
