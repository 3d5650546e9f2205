#include "data/AppInfo.h"
#include "Handovers.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    QApplication::setApplicationVersion(QStringLiteral("%1.%2").arg(AppInfo::versionMajor()).arg(AppInfo::versionMinor()));

    if (!OpenMainWindow())
        return 1;
    return app.exec();
}
