#include "backup/ButtonPicture.h"

#include "data/AppPaths.h"
#include "ui/Fonts.h"

#include <QDir>
#include <QPainter>

QPixmap ButtonPicture(const QString &name, const QString &caption, bool highlighted)
{
    const QPixmap art(QDir(AppPaths::contentDir()).filePath(QStringLiteral("art/%1.png").arg(name)));
    if (!art.isNull())
        return art;

    QPixmap face(96, 35);
    face.fill(Qt::transparent);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(highlighted ? QColor(176, 112, 24) : QColor(120, 120, 120));
    p.setBrush(highlighted ? QColor(255, 232, 160) : QColor(238, 238, 238));
    p.drawRoundedRect(QRectF(0.5, 0.5, 95, 34), 5, 5);
    p.setPen(Qt::black);
    p.setFont(Fonts::nazanin(11, true));
    p.drawText(face.rect(), Qt::AlignCenter, caption);
    return face;
}
