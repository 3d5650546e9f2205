#include "RegistrationPanel.h"

RegistrationPanel::RegistrationPanel(QWidget *parent, RecordSource *, RecordSource *, RecordSource *, RecordSource *)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(81, 128, 91));
    setPalette(pal);
}

void RegistrationPanel::windowLoaded() {}
void RegistrationPanel::opened() {}
