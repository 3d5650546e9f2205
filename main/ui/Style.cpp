#include "ui/Style.h"

namespace Style {

QString pinkButtons(int radius)
{
    return QStringLiteral("QPushButton { background-color: %1; color: black; border: 1px solid %2;"
                          " border-radius: %3px; }"
                          "QPushButton:hover { background-color: %4; }"
                          "QPushButton:pressed { background-color: %5; }"
                          "QPushButton:disabled { background-color: rgb(214, 196, 200); color: rgb(120, 110, 112); }")
        .arg(buttonFace.name(), buttonBorder.name())
        .arg(radius)
        .arg(buttonHover.name(), buttonPressed.name());
}

} // namespace Style
