#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// The banner: its picture drawn unscaled from the top-left corner and cut
// off at the control's size, with the program's title and subtitle written
// over it in the window's language.
class CBannerStatic : public QWidget {
public:
    explicit CBannerStatic(QWidget* parent = nullptr);
    // Null pixmap when the picture cannot be loaded.
    const QPixmap& Picture() const { return m_picture; }
    void SetTexts(const QString& title, const QString& subtitle);
    QString Title() const { return m_title; }
    QString Subtitle() const { return m_subtitle; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QString m_title;
    QString m_subtitle;
};

// A one-line static whose text is written in its colour on its own
// background colour, which fills the whole control.
class CColourStatic : public QWidget {
public:
    CColourStatic(const QColor& text, const QColor& background, QWidget* parent = nullptr);
    void SetText(const QString& text);
    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_textColour;
    QColor m_background;
};
