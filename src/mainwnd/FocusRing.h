#pragma once

#include <QColor>
#include <QObject>

class QFocusFrame;
class QWidget;

// A clear frame around the control of a window that has the keyboard focus:
// a ring in the window's amber with a dark line inside it, so it shows on
// the dark window and on the light pages alike. It follows the focus from
// control to control and the control as it moves or grows.
class CFocusRing : public QObject {
public:
    explicit CFocusRing(QWidget* window);

    // The ring around the focused control (hidden when none of the window's
    // controls that Tab reaches has the focus).
    QFocusFrame* Frame() const { return m_pFrame; }

    static constexpr int kWidth = 3;
    static inline const QColor kOuter{255, 205, 15};
    static inline const QColor kInner{10, 10, 40};

private:
    void Follow(QWidget* focused);

    QWidget* m_pWindow;
    QFocusFrame* m_pFrame;
};
