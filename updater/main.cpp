#include "common/Dialogs.h"
#include "updater/UpdaterWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorinupdate"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    Dialogs::setReadingFollowsText(true);
    UpdaterWindow window;
    window.show();
    window.activateWindow();
    return app.exec();
}
