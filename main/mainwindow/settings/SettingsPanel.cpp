#include "SettingsPanel.h"

SettingsPanel::SettingsPanel(QWidget *parent, RecordSource *, ClinicValues *)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame9"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(81, 128, 91));
    setPalette(pal);
}

void SettingsPanel::windowLoaded() {}
void SettingsPanel::opened() {}
void SettingsPanel::windowActivated() {}
