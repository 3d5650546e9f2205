#include "Progress.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorinupdate"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    Progress window;
    window.show();
    window.activateWindow();
    return app.exec();
}
