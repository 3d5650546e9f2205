#include "ui/WrapButton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

QSize WrapButton::sizeHint() const
{
    return QPushButton::sizeHint();
}

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    if (!icon().isNull())
        return;
    p.setFont(font());
    p.setPen(palette().color(QPalette::ButtonText));
    const QRect area = rect().adjusted(3, 2, -3, -2).translated(isDown() ? QPoint(1, 1) : QPoint());
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}
