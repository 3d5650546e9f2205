#include "ArtPainter.h"

#include "Figure.h"
#include "Fonts.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

using namespace Palette;

namespace {

constexpr int DotsPerMeter = 3780;

const QColor DeepGreen(52, 92, 64);
const QColor PanelGreen(81, 128, 91);
const QColor Mint(192, 255, 192);

QImage canvas(int w, int h, bool alpha)
{
    QImage image(w, h, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    image.fill(alpha ? Qt::transparent : Qt::white);
    return image;
}

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

void begin(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

void fillGradient(
    QPainter &p, const QRectF &r, const QPointF &from, const QPointF &to, const QColor &a, const QColor &b)
{
    QLinearGradient g(from, to);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(r, g);
}

// Faint test shapes scattered over a background, placed by a fixed rule.
void sprinkle(QPainter &p, const QRectF &area, int count, int alpha, double size)
{
    const QColor colours[] = { Red, Blue, Green, Yellow, Orange, Purple };
    const Shape shapes[]
        = { Shape::Circle, Shape::Square, Shape::Triangle, Shape::Star, Shape::Diamond, Shape::Hexagon };
    for (int i = 0; i < count; ++i) {
        // Golden-ratio steps spread the shapes evenly without a random source.
        const double fx = std::fmod(0.31 + i * 0.6180339887, 1.0);
        const double fy = std::fmod(0.17 + i * 0.7548776662, 1.0);
        QColor c = colours[i % 6];
        c.setAlpha(alpha);
        const double s = size * (0.6 + 0.4 * std::fmod(i * 0.37, 1.0));
        const QRectF cell(area.left() + fx * area.width() - s, area.top() + fy * area.height() - s, 2 * s, 2 * s);
        drawFig(p, cell, Fig().add(glyph(shapes[(i * 5) % 6], c, 0.8, (i * 37) % 360)));
    }
}

QImage mainBackground()
{
    QImage image = canvas(618, 515, false);
    QPainter p(&image);
    begin(p);
    QRadialGradient glow(309, 200, 420);
    glow.setColorAt(0, QColor(214, 232, 218));
    glow.setColorAt(0.6, QColor(150, 188, 160));
    glow.setColorAt(1, DeepGreen);
    p.fillRect(image.rect(), glow);
    sprinkle(p, QRectF(40, 20, 538, 470), 26, 60, 22);

    // A soft band behind the row of buttons.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawRoundedRect(QRectF(55, 312, 510, 82), 20, 20);

    p.setPen(QColor(255, 255, 255, 235));
    p.setFont(Fonts::digits(30));
    p.drawText(QRectF(0, 402, 618, 44), Qt::AlignCenter, QStringLiteral("Pelorin"));
    p.setPen(QColor(255, 255, 255, 200));
    p.setFont(Fonts::nazli(18, true));
    p.drawText(QRectF(0, 442, 618, 30), Qt::AlignCenter, text("آزمون تصویری هوش کودکان"));
    return image;
}

QImage creditsBox()
{
    QImage image = canvas(601, 218, false);
    QPainter p(&image);
    begin(p);
    fillGradient(p, image.rect(), { 0, 0 }, { 0, 218 }, PanelGreen.lighter(112), PanelGreen.darker(125));
    sprinkle(p, QRectF(10, 10, 581, 198), 18, 38, 20);
    p.setPen(QPen(QColor(255, 255, 255, 90), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4, 4, 593, 210), 14, 14);
    return image;
}

QImage helpButton()
{
    QImage image = canvas(57, 57, false);
    QPainter p(&image);
    begin(p);
    p.fillRect(image.rect(), Mint);
    QRadialGradient g(24, 22, 30);
    g.setColorAt(0, QColor(120, 200, 140));
    g.setColorAt(1, PanelGreen);
    p.setPen(QPen(DeepGreen, 2));
    p.setBrush(g);
    p.drawEllipse(QRectF(6, 6, 45, 45));
    p.setPen(Qt::white);
    p.setFont(Fonts::digits(30));
    p.drawText(QRectF(6, 5, 45, 45), Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

QImage testBackground()
{
    QImage image = canvas(857, 545, false);
    QPainter p(&image);
    begin(p);
    fillGradient(p, image.rect(), { 0, 0 }, { 0, 545 }, QColor(72, 112, 86), QColor(40, 70, 54));
    sprinkle(p, QRectF(0, 0, 857, 545), 30, 26, 26);

    // A soft shadow where the item picture and the answer grid sit.
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 10));
        p.drawRoundedRect(QRectF(35 - i + 3, 16 - i + 4, 633 + 2 * i, 421 + 2 * i), 6 + i, 6 + i);
        p.drawRoundedRect(QRectF(685 - i + 3, 21 - i + 4, 161 + 2 * i, 469 + 2 * i), 6 + i, 6 + i);
    }
    // The strip of buttons and the name below the picture.
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawRoundedRect(QRectF(20, 468, 640, 72), 14, 14);
    return image;
}

void drawTick(QPainter &p, const QRectF &r, const QColor &c)
{
    QPainterPath tick;
    tick.moveTo(r.left() + r.width() * 0.15, r.top() + r.height() * 0.55);
    tick.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.8);
    tick.lineTo(r.left() + r.width() * 0.88, r.top() + r.height() * 0.2);
    p.setPen(QPen(c, r.width() * 0.18, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void drawProhibition(QPainter &p, const QRectF &r, const QColor &c)
{
    const double w = r.width() * 0.16;
    const QRectF ring = r.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    p.setPen(QPen(c, w));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ring);
    const double k = 0.3536 * ring.width();
    p.drawLine(
        QPointF(ring.center().x() - k, ring.center().y() - k), QPointF(ring.center().x() + k, ring.center().y() + k));
}

// The four exit buttons: accept (tick) and cancel (prohibition sign), each plain and highlighted.
QImage exitButton(bool accept, bool hot)
{
    QImage image = canvas(96, 35, true);
    QPainter p(&image);
    begin(p);
    const QColor base = accept ? QColor(67, 140, 80) : QColor(190, 60, 60);
    QLinearGradient g(0, 0, 0, 35);
    g.setColorAt(0, hot ? base.lighter(150) : base.lighter(118));
    g.setColorAt(1, hot ? base.lighter(110) : base.darker(115));
    p.setPen(QPen(hot ? QColor(255, 236, 140) : base.darker(150), hot ? 2.5 : 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, 93, 32), 9, 9);

    const QRectF icon(8, 7, 21, 21);
    if (accept)
        drawTick(p, icon, Qt::white);
    else
        drawProhibition(p, icon, Qt::white);
    p.setPen(Qt::white);
    p.setFont(Fonts::nazli(17, true));
    // The captions as the program writes them, letter for letter (Arabic yeh).
    const QString label = accept ? text("تاييد") : text("انصراف");
    p.drawText(QRectF(32, 0, 58, 33), Qt::AlignCenter, label);
    return image;
}

QImage updaterBackground()
{
    QImage image = canvas(560, 193, false);
    QPainter p(&image);
    begin(p);
    fillGradient(p, image.rect(), { 0, 0 }, { 560, 193 }, QColor(226, 238, 230), QColor(168, 200, 178));
    // A large faint download arrow at the right.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(81, 128, 91, 40));
    QPainterPath arrow;
    arrow.addPolygon(QPolygonF({ QPointF(470, 20), QPointF(510, 20), QPointF(510, 90), QPointF(540, 90),
        QPointF(490, 145), QPointF(440, 90), QPointF(470, 90) }));
    p.drawPath(arrow);
    p.drawRoundedRect(QRectF(430, 155, 120, 14), 7, 7);
    sprinkle(p, QRectF(20, 10, 380, 173), 10, 30, 14);
    return image;
}

void drawDownloadIcon(QPainter &p, double s)
{
    QRadialGradient g(s * 0.4, s * 0.35, s * 0.7);
    g.setColorAt(0, QColor(120, 190, 135));
    g.setColorAt(1, DeepGreen);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.2, s * 0.2);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({ QPointF(s * 0.42, s * 0.16), QPointF(s * 0.58, s * 0.16), QPointF(s * 0.58, s * 0.46),
        QPointF(s * 0.72, s * 0.46), QPointF(s * 0.5, s * 0.68), QPointF(s * 0.28, s * 0.46),
        QPointF(s * 0.42, s * 0.46) }));
    p.drawRoundedRect(QRectF(s * 0.22, s * 0.74, s * 0.56, s * 0.09), s * 0.04, s * 0.04);
}

QImage updaterIcon()
{
    QImage image = canvas(64, 64, true);
    QPainter p(&image);
    begin(p);
    drawDownloadIcon(p, 64);
    return image;
}

// Three shapes of a 2 x 2 pattern and the missing fourth as a question mark.
QImage appIcon()
{
    QImage image = canvas(256, 256, true);
    QPainter p(&image);
    begin(p);
    QLinearGradient g(0, 0, 0, 256);
    g.setColorAt(0, QColor(104, 156, 116));
    g.setColorAt(1, DeepGreen);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 52, 52);
    const QRectF cells[] = { { 30, 30, 92, 92 }, { 134, 30, 92, 92 }, { 30, 134, 92, 92 }, { 134, 134, 92, 92 } };
    for (const QRectF &c : cells) {
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawRoundedRect(c, 16, 16);
    }
    drawFig(p, cells[0].adjusted(10, 10, -10, -10), Fig().add(glyph(Shape::Circle, Red)));
    drawFig(p, cells[1].adjusted(10, 10, -10, -10), Fig().add(glyph(Shape::Circle, Blue)));
    drawFig(p, cells[2].adjusted(10, 10, -10, -10), Fig().add(glyph(Shape::Square, Red)));
    p.setPen(QPen(Yellow, 5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(cells[3].adjusted(3, 3, -3, -3), 14, 14);
    p.setPen(PanelGreen);
    p.setFont(Fonts::digits(64));
    p.drawText(cells[3], Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

// A neutral clinic mark: a child's head in profile with a leaf, no lettering.
QImage defaultLogo()
{
    QImage image = canvas(300, 300, false);
    QPainter p(&image);
    begin(p);
    p.setPen(QPen(PanelGreen, 8));
    p.setBrush(QColor(236, 244, 238));
    p.drawEllipse(QRectF(14, 14, 272, 272));

    QPainterPath head;
    head.moveTo(110, 236);
    head.cubicTo(104, 200, 80, 186, 84, 142);
    head.cubicTo(88, 86, 136, 62, 178, 70);
    head.cubicTo(222, 78, 240, 118, 228, 150);
    head.lineTo(240, 172);
    head.lineTo(226, 178);
    head.cubicTo(228, 196, 222, 208, 200, 206);
    head.lineTo(196, 236);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(PanelGreen);
    p.drawPath(head);

    QPainterPath leaf;
    leaf.moveTo(128, 150);
    leaf.cubicTo(128, 110, 160, 92, 196, 96);
    leaf.cubicTo(194, 134, 166, 154, 128, 150);
    p.setBrush(Yellow);
    p.drawPath(leaf);
    p.setPen(QPen(PanelGreen, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(134, 146), QPointF(180, 106));
    return image;
}

} // namespace

std::vector<ArtPicture> artPictures()
{
    return {
        { QStringLiteral("main_background"), mainBackground },
        { QStringLiteral("credits_box"), creditsBox },
        { QStringLiteral("help_button"), helpButton },
        { QStringLiteral("test_background"), testBackground },
        { QStringLiteral("exit_accept"), [] { return exitButton(true, false); } },
        { QStringLiteral("exit_accept_hot"), [] { return exitButton(true, true); } },
        { QStringLiteral("exit_cancel"), [] { return exitButton(false, false); } },
        { QStringLiteral("exit_cancel_hot"), [] { return exitButton(false, true); } },
        { QStringLiteral("updater_background"), updaterBackground },
        { QStringLiteral("updater_icon"), updaterIcon },
        { QStringLiteral("app_icon"), appIcon },
        { QStringLiteral("default_logo"), defaultLogo },
    };
}
