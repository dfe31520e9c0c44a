#pragma once

#include <QWidget>

class QTabBar;

// A tab control with its tabs at the bottom: the pages are plain children
// that the owner shows and hides; the tab bar only reports the choice.
class CTabHost : public QWidget {
public:
    explicit CTabHost(QWidget* parent = nullptr);
    QTabBar* Bar() const { return m_pBar; }
    // Height left for the pages above the tabs.
    int PageHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PlaceBar();
    QTabBar* m_pBar;
};
