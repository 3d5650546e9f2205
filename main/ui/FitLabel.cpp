#include "ui/FitLabel.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Below this the text is no longer readable on screen; it is drawn there
// (and clipped) rather than vanish.
constexpr qreal kMinimumPoints = 6;

bool fits(const QFont &font, const QRect &box, int flags, const QString &text)
{
    const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
    return needed.width() <= box.width() && needed.height() <= box.height();
}

} // namespace

QFont FitLabel::fitting(const QFont &font, const QRect &box, int flags, const QString &text, qreal minimumPoints)
{
    QFont f = font;
    if (text.isEmpty() || fits(f, box, flags, text) || f.pointSizeF() <= 0)
        return f;
    for (qreal points = f.pointSizeF() - 0.5; points >= minimumPoints; points -= 0.5) {
        f.setPointSizeF(points);
        if (fits(f, box, flags, text))
            return f;
    }
    f.setPointSizeF(minimumPoints);
    return f;
}

int FitLabel::textFlags() const
{
    return int(alignment()) | Qt::TextWordWrap;
}

QFont FitLabel::fittedFont() const
{
    return fitting(font(), contentsRect(), textFlags(), text(), kMinimumPoints);
}

void FitLabel::paintEvent(QPaintEvent *event)
{
    // The frame and the styled background as a label draws them, then the
    // text in the size that fits.
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setFont(fittedFont());
    p.setPen(palette().color(foregroundRole()));
    p.drawText(contentsRect(), textFlags(), text());
}
