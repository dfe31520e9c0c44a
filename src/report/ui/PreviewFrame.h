#pragma once

#include <QFrame>
#include <QImage>

// The preview frame: shows the rendered page image. A curve page fills the
// frame, stretched; a text page shows half of the page at a time, at the
// scroll position, over three quarters of the frame's width on grey.
class CPreviewFrame : public QFrame {
    Q_OBJECT
public:
    explicit CPreviewFrame(QWidget* parent);

    void ShowPage(const QImage& page, bool halfPage);
    void Clear();
    void SetScrollY(int y);
    int ScrollY() const { return m_scrollY; }
    // The largest scroll position: half the page's height.
    int MaxScroll() const { return m_page.height() / 2; }
    bool HasPage() const { return !m_page.isNull(); }
    const QImage& Page() const { return m_page; }

signals:
    // A wheel turn over the frame, in eighths of a degree (120 a notch).
    void Wheel(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage m_page;
    bool m_halfPage = false;
    int m_scrollY = 0;
};
