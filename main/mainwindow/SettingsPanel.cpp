#include "SettingsPanel.h"

#include "MainWindow.h"

SettingsPanel::SettingsPanel(MainWindow *owner)
    : QFrame(owner)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("Frame9"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(81, 128, 91));
    setPalette(pal);
}

void SettingsPanel::windowLoaded() {}
void SettingsPanel::opened() {}
