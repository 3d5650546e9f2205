#include "mainwindow/registration/StartTest.h"

#include "common/Dialogs.h"
#include "test/window/TestWindow.h"
#include "data/RecordSource.h"
#include "mainwindow/registration/RegistrationTexts.h"
#include "ui/TimedNotice.h"

#include <QLabel>
#include <QPointer>

namespace {

QPointer<TestWindow> &openWindow()
{
    static QPointer<TestWindow> window;
    return window;
}

} // namespace

TestWindow *OpenTestWindow()
{
    return openWindow().data();
}

void StartTestByCode(QWidget *mainWindow, RecordSource *Adodc1, ClinicValues *clinic)
{
    Adodc1->refresh();
    if (Adodc1->rowCount() == 0)
        return;
    bool ok = false;
    const QString code
        = Dialogs::input(mainWindow, RegistrationTexts::startTitle(), RegistrationTexts::startPrompt(), QString(), &ok);
    if (!ok || code.isEmpty()) {
        ShowTimedNotice(mainWindow, RegistrationTexts::startEmptyCode());
        return;
    }
    // The code as typed: "7" does not find "07", nor "7 " find "7".
    Adodc1->setFilter(QStringLiteral("code"), code);
    if (Adodc1->atStart()) {
        ShowTimedNotice(mainWindow, RegistrationTexts::startUnknownCode());
        return;
    }

    if (TestWindow *old = openWindow()) {
        old->close();
        delete old;
    }
    auto *window = new TestWindow(mainWindow, clinic);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QString error;
    if (!window->load(&error)) {
        delete window;
        Dialogs::message(mainWindow, RegistrationTexts::errorTitle(), error, QMessageBox::Ok, Dialogs::Icon::Warning);
        return;
    }
    openWindow() = window;
    window->Adodc2->setFilter(QStringLiteral("code"), code);
    window->Lblkey->setText(code);
    window->show();
    window->activateWindow();
    window->activate();
    if (mainWindow)
        mainWindow->hide();
}
