#include "AppInfo.h"
#include "Dialogs.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    QApplication::setApplicationVersion(QStringLiteral("%1.%2").arg(AppInfo::versionMajor()).arg(AppInfo::versionMinor()));

    auto *window = new MainWindow;
    QString error;
    if (!window->load(&error)) {
        // A database that is missing or not ours: say which and end.
        Dialogs::message(nullptr, QStringLiteral("خطا"), error, QMessageBox::Ok, Dialogs::Icon::Warning);
        delete window;
        return 1;
    }
    window->show();
    window->activateWindow();
    return app.exec();
}
