#include "ui/FixedWindow.h"

#include "ui/Twips.h"

#include <QWidget>

void SetUpFixedWindow(
    QWidget *window, const char *objectName, const QString &title, int widthTw, int heightTw, const QColor &background)
{
    window->setObjectName(QLatin1String(objectName));
    if (!title.isNull())
        window->setWindowTitle(title);
    window->setLayoutDirection(Qt::RightToLeft);
    window->setFixedSize(Twips::px(widthTw), Twips::px(heightTw));
    if (background.isValid()) {
        QPalette pal = window->palette();
        pal.setColor(QPalette::Window, background);
        window->setPalette(pal);
        window->setAutoFillBackground(true);
    }
}
