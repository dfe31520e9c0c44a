// Draws the program's pictures: the application icon in the usual sizes,
// the 1888 x 120 banner and the two 20 x 20 zoom icons.
// Build target halvern-art (not built by default); run it with the source
// folder as argument to rewrite the PNG files.
#include <QGuiApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

const QColor kSlate(82, 105, 118);
const QColor kDeep(28, 46, 64);
const QColor kTemp(255, 60, 60);
const QColor kHumi(200, 130, 50);
const QColor kAmber(255, 205, 15);

// Thermometer (bulb at the bottom) inside a w x h box at the origin.
void DrawThermometer(QPainter& p, qreal w, qreal h, const QColor& glass, const QColor& fill)
{
    const qreal tube = w * 0.36;
    const qreal bulb = w * 0.74;
    const qreal cx = w / 2;
    QPainterPath body;
    body.addRoundedRect(QRectF(cx - tube / 2, 0, tube, h - bulb * 0.7), tube / 2, tube / 2);
    body.addEllipse(QPointF(cx, h - bulb / 2), bulb / 2, bulb / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawPath(body.simplified());
    const qreal inner = tube * 0.42;
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(cx - inner / 2, h * 0.32, inner, h * 0.6), inner / 2, inner / 2);
    p.drawEllipse(QPointF(cx, h - bulb / 2), bulb * 0.34, bulb * 0.34);
}

// A water drop inside a w x h box at the origin.
void DrawDrop(QPainter& p, qreal w, qreal h, const QColor& colour)
{
    QPainterPath drop;
    drop.moveTo(w / 2, 0);
    drop.cubicTo(w * 0.55, h * 0.25, w, h * 0.45, w, h * 0.68);
    drop.arcTo(QRectF(0, h - w, w, w), 0, -180);
    drop.cubicTo(0, h * 0.45, w * 0.45, h * 0.25, w / 2, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(drop);
}

QImage Icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const qreal m = s * 0.04;
    QLinearGradient bg(0, 0, 0, s);
    bg.setColorAt(0, QColor(44, 78, 104));
    bg.setColorAt(1, kDeep);
    p.setPen(QPen(QColor(150, 175, 190), std::max<qreal>(1.0, s / 64)));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(m, m, s - 2 * m, s - 2 * m), s * 0.18, s * 0.18);

    // A curve across the lower half, like the graph page.
    if (size >= 24) {
        QPainterPath curve;
        const qreal y0 = s * 0.70;
        curve.moveTo(s * 0.12, y0);
        for (int i = 1; i <= 20; ++i) {
            const qreal x = s * (0.12 + 0.76 * i / 20.0);
            curve.lineTo(x, y0 - s * 0.12 * std::sin(i * 0.55) - s * 0.04 * std::sin(i * 1.7));
        }
        p.setPen(QPen(kHumi, std::max<qreal>(1.0, s / 28), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
        p.setPen(QPen(QColor(255, 255, 255, 90), std::max<qreal>(1.0, s / 90), Qt::DotLine));
        p.drawLine(QPointF(s * 0.12, s * 0.50), QPointF(s * 0.88, s * 0.50));
    }
    p.save();
    p.translate(s * 0.22, s * 0.14);
    DrawThermometer(p, s * 0.26, s * 0.72, QColor(245, 248, 250), kTemp);
    p.restore();
    p.save();
    p.translate(s * 0.56, s * 0.18);
    DrawDrop(p, s * 0.26, s * 0.36, QColor(90, 180, 235));
    p.restore();
    return image;
}

QImage Banner()
{
    QImage image(1888, 120, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 1888, 0);
    bg.setColorAt(0, kDeep);
    bg.setColorAt(0.55, QColor(46, 72, 92));
    bg.setColorAt(1, kSlate);
    p.fillRect(image.rect(), bg);
    QLinearGradient shade(0, 0, 0, 120);
    shade.setColorAt(0, QColor(255, 255, 255, 18));
    shade.setColorAt(0.6, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 40));
    p.fillRect(image.rect(), shade);

    // Faint grid and two traces on the right, like the graph page's.
    // Everything on the right fades in from nothing between x 560 and 800.
    auto faded = [](QColor c) {
        QLinearGradient g(560, 0, 800, 0);
        QColor clear = c;
        clear.setAlpha(0);
        g.setColorAt(0, clear);
        g.setColorAt(1, c);
        return QBrush(g);
    };
    p.setPen(QPen(faded(QColor(255, 255, 255, 22)), 1));
    for (int x = 584; x < 1888; x += 48)
        p.drawLine(x, 0, x, 120);
    for (int y = 12; y < 120; y += 24)
        p.drawLine(560, y, 1888, y);
    for (int trace = 0; trace < 2; ++trace) {
        QPainterPath path;
        for (int x = 560; x <= 1888; x += 8) {
            const double t = x / 90.0;
            const double y = trace == 0 ? 58 - 22 * std::sin(t) - 8 * std::sin(t * 2.7 + 1)
                                        : 78 + 16 * std::sin(t * 0.8 + 2) + 6 * std::sin(t * 3.1);
            if (x == 560)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        QColor c = trace == 0 ? kTemp : kHumi;
        c.setAlpha(150);
        p.setPen(QPen(faded(c), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }

    // The title and subtitle are written over the picture by the window, in
    // its language.
    p.drawImage(QPoint(22, 16), Icon(88));
    p.setPen(QPen(kAmber, 3));
    p.drawLine(130, 100, 250, 100);
    return image;
}

QImage Zoom(bool in)
{
    QImage image(20, 20, QImage::Format_RGB888);
    image.fill(QColor(240, 240, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 80), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setPen(QPen(QColor(40, 60, 80), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
    p.setPen(QPen(QColor(30, 110, 180), 1.6));
    p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
    if (in)
        p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
    return image;
}

bool Save(const QImage& image, const QString& path)
{
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    bool ok = true;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        ok &= Save(Icon(size), root + QStringLiteral("/packaging/icons/halvern-th-%1.png").arg(size));
    ok &= Save(Icon(64), root + QStringLiteral("/src/mainwnd/res/icon.png"));
    ok &= Save(Banner(), root + QStringLiteral("/src/mainwnd/res/banner.png"));
    ok &= Save(Zoom(true), root + QStringLiteral("/src/mainwnd/res/zoom_in.png"));
    ok &= Save(Zoom(false), root + QStringLiteral("/src/mainwnd/res/zoom_out.png"));
    return ok ? 0 : 1;
}
