#pragma once

#include <QColor>
#include <QString>

class QWidget;

/// The set-up every fixed window of the program shares: its name, title,
/// right-to-left reading, a fixed size given in twips and, when \a background
/// is valid, a filled background of that colour.
void SetUpFixedWindow(QWidget *window, const char *objectName, const QString &title, int widthTw, int heightTw,
    const QColor &background = QColor());
