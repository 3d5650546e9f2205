#include "RegistrationPanel.h"

#include "MainWindow.h"

RegistrationPanel::RegistrationPanel(MainWindow *owner)
    : QFrame(owner)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("Frame1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(81, 128, 91));
    setPalette(pal);
}

void RegistrationPanel::windowLoaded() {}
void RegistrationPanel::opened() {}
