#include "Handovers.h"

#include "common/Dialogs.h"
#include "backup/ExitWindow.h"
#include "update/UpdateWindow.h"
#include "mainwindow/MainWindow.h"
#include "backup/ProgramEnd.h"
#include "records/window/RecordsWindow.h"
#include "mainwindow/registration/StartTest.h"

#include <QCoreApplication>

namespace {

void reloadMainWindow()
{
    if (!OpenMainWindow())
        QCoreApplication::exit(1);
}

} // namespace

MainWindow *OpenMainWindow()
{
    auto *window = new MainWindow;
    QString error;
    if (!window->load(&error)) {
        Dialogs::message(nullptr, QStringLiteral("خطا"), error, QMessageBox::Ok, Dialogs::Icon::Warning);
        delete window;
        return nullptr;
    }
    window->show();
    window->activateWindow();
    return window;
}

void InstallHandovers()
{
    MainWindow::setStartTestAction([](MainWindow *w) { StartTestByCode(w, w->Adodc1, &w->clinicValues()); });
    MainWindow::setRecordsAction([](MainWindow *w) {
        auto *records = new RecordsWindow(w, &w->clinicValues());
        records->setAttribute(Qt::WA_DeleteOnClose);
        QString error;
        if (!records->load(&error)) {
            Dialogs::message(w, QStringLiteral("خطا"), error, QMessageBox::Ok, Dialogs::Icon::Warning);
            delete records;
            return;
        }
        records->show();
        w->hide();
    });
    MainWindow::setUpdateAction([](MainWindow *w) {
        UpdateWindow dialog(w);
        // The updater has started: end at once, without the exit questions.
        QObject::connect(&dialog, &UpdateWindow::updaterStarted, &dialog, [] { ProgramEnd::now(); });
        dialog.exec();
    });
    MainWindow::setExitAction([](MainWindow *) { ShowExitWindow(&reloadMainWindow); });
}
