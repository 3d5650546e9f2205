#include "ContactSheet.h"

#include "Fonts.h"

#include <QPainter>

QImage contactSheet(const QDir &contentDir)
{
    constexpr int w = 633;
    constexpr int h = 421;
    constexpr int label = 34;
    constexpr int gap = 12;
    constexpr int columns = 6;
    QImage sheet(columns * (w + gap) + gap, 6 * (h + label + gap) + gap, QImage::Format_RGB32);
    sheet.fill(QColor(60, 72, 66));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(Fonts::digits(22));
    for (int n = 1; n <= 36; ++n) {
        const int x = gap + ((n - 1) % columns) * (w + gap);
        const int y = gap + ((n - 1) / columns) * (h + label + gap);
        p.setPen(Qt::white);
        p.drawText(QRect(x, y, w, label), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Item %1").arg(n));
        p.drawImage(QPoint(x, y + label),
            QImage(contentDir.filePath(QStringLiteral("items/item%1.png").arg(n, 2, 10, QLatin1Char('0')))));
    }
    return sheet;
}
