#pragma once

#include <QPixmap>
#include <QString>

/// One of the exit window's 96 x 35 button pictures: content/art/<name>.png,
/// or, while the art is missing, a plain button face showing \a caption.
QPixmap ButtonPicture(const QString &name, const QString &caption, bool highlighted);
