#include "ItemPainter.h"

#include "Fonts.h"
#include "ItemDesign.h"
#include "ItemLayout.h"
#include "Palette.h"

#include <QPainter>

using namespace Palette;

namespace {

constexpr int DotsPerMeterAt96Dpi = 3780;

void drawOption(QPainter &p, const ItemLayout &layout, const ItemDesign &design, int i)
{
    const QRectF card = layout.cards[i].adjusted(15, 15, -15, -15);
    p.setPen(QPen(PanelBorder, 30));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 90, 90);

    const QRectF badge = layout.badges[i];
    p.setPen(Qt::NoPen);
    p.setBrush(Badge);
    p.drawEllipse(badge);
    p.setPen(Qt::white);
    p.setFont(Fonts::digits(static_cast<int>(badge.height() * 0.62)));
    p.drawText(badge, Qt::AlignCenter, QString::number(i + 1));

    p.save();
    design.options[i](p, layout.figures[i]);
    p.restore();
}

} // namespace

QImage paintItem(const ItemLayout &layout, const ItemDesign &design, int scale)
{
    QImage image(ItemLayout::Width * scale / 15, ItemLayout::Height * scale / 15, QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeterAt96Dpi * scale);
    image.setDotsPerMeterY(DotsPerMeterAt96Dpi * scale);
    image.fill(ItemBackground);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale / 15.0, scale / 15.0);

    p.save();
    design.stem(p);
    p.restore();
    for (int i = 0; i < 6; ++i)
        drawOption(p, layout, design, i);
    p.end();
    return image;
}
