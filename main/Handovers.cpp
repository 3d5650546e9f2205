#include "Handovers.h"

#include "backup/ExitWindow.h"
#include "backup/ProgramEnd.h"
#include "common/Dialogs.h"
#include "common/PersianInput.h"
#include "data/AppInfo.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/registration/RegistrationTexts.h"
#include "mainwindow/settings/SettingsPanel.h"
#include "records/window/RecordsWindow.h"
#include "test/contentwindow/ContentWindow.h"
#include "test/window/TestWindow.h"
#include "ui/CommonTexts.h"
#include "ui/TimedNotice.h"
#include "update/UpdateWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>

namespace {

QPointer<TestWindow> &openWindow()
{
    static QPointer<TestWindow> window;
    return window;
}

// A test over stored answers replaces them click by click: asked first,
// naming the child, and No leaves everything as it was.
bool confirmRetest(QWidget *owner, const RecordSource &examinee, const QString &code)
{
    RecordSource answers;
    if (!answers.openWhere(Database::File::Examinee, QStringLiteral("Answer"), QStringLiteral("Code"), code)
        || answers.rowCount() == 0)
        return true;
    bool answered = false;
    for (int item = 1; item <= 36 && !answered; ++item) {
        const QString slot = answers.field(QString::number(item)).trimmed();
        answered = !slot.isEmpty() && slot != QLatin1String("0");
    }
    if (!answered)
        return true;
    const QString name
        = (examinee.field(QStringLiteral("FName")) + QLatin1Char(' ') + examinee.field(QStringLiteral("LName")))
              .trimmed();
    return Dialogs::message(owner, AppInfo::title(), RegistrationTexts::startRetestQuestion.arg(code, name),
               QMessageBox::Yes | QMessageBox::No, Dialogs::Icon::Question)
        == QMessageBox::Yes;
}

void reloadMainWindow()
{
    if (!OpenMainWindow())
        QCoreApplication::exit(1);
}

} // namespace

TestWindow *OpenTestWindow()
{
    return openWindow().data();
}

void StartTestByCode(QWidget *mainWindow, RecordSource *Adodc1, ClinicValues *clinic)
{
    // Asked of the file, so a start costs no read of the whole table. A file
    // that cannot be read (locked by another program) is said so, not taken
    // for an empty one or for an unknown code.
    QString readError;
    auto readFailed = [&] {
        Dialogs::message(mainWindow, CommonTexts::errorTitle, readError, QMessageBox::Ok, Dialogs::Icon::Warning);
    };
    const bool empty = Adodc1->tableIsEmpty(&readError);
    if (!readError.isEmpty())
        return readFailed();
    if (empty)
        return;
    bool ok = false;
    const QString code = PersianInput::asciiDigits(
        Dialogs::input(mainWindow, RegistrationTexts::startTitle, RegistrationTexts::startPrompt, QString(), &ok));
    if (!ok || code.isEmpty()) {
        ShowTimedNotice(mainWindow, RegistrationTexts::startEmptyCode);
        return;
    }
    // The code as typed: "7" does not find "07", nor "7 " find "7". Only
    // that examinee's row is read.
    if (!Adodc1->refreshWhere(QStringLiteral("code"), code, &readError))
        return readFailed();
    if (Adodc1->atStart()) {
        ShowTimedNotice(mainWindow, RegistrationTexts::startUnknownCode);
        return;
    }

    if (!confirmRetest(mainWindow, *Adodc1, code))
        return;

    if (TestWindow *old = openWindow()) {
        old->close();
        delete old;
    }
    auto *window = new TestWindow(mainWindow, clinic);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QString error;
    if (!window->load(code, &error)) {
        delete window;
        Dialogs::message(mainWindow, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        return;
    }
    openWindow() = window;
    window->setExamineeCode(code);
    window->show();
    window->activateWindow();
    window->activate();
    if (mainWindow)
        mainWindow->hide();
}

MainWindow *OpenMainWindow()
{
    auto *window = new MainWindow;
    ConnectHandovers(window);
    QString error;
    if (!window->load(&error)) {
        Dialogs::message(nullptr, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        delete window;
        return nullptr;
    }
    window->show();
    window->activateWindow();
    return window;
}

void ConnectHandovers(MainWindow *w)
{
    QObject::connect(
        w, &MainWindow::startTestRequested, w, [w] { StartTestByCode(w, w->examinees(), &w->clinicValues()); });
    QObject::connect(w, &MainWindow::recordsRequested, w, [w] {
        auto *records = new RecordsWindow(w, &w->clinicValues());
        records->setAttribute(Qt::WA_DeleteOnClose);
        QString error;
        if (!records->load(&error)) {
            Dialogs::message(w, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
            delete records;
            return;
        }
        records->show();
        w->hide();
    });
    QObject::connect(w, &MainWindow::updateRequested, w, [w] {
        UpdateWindow dialog(w);
        // The updater has started: end at once, without the exit questions.
        QObject::connect(&dialog, &UpdateWindow::updaterStarted, &dialog, [] { ProgramEnd::now(); });
        dialog.exec();
    });
    QObject::connect(w, &MainWindow::exitRequested, w, [] { ShowExitWindow(&reloadMainWindow); });
    QObject::connect(w, &MainWindow::contentRequested, w, [w] { OpenContentWindow(w); });
}

ContentWindow *OpenContentWindow(QWidget *owner)
{
    auto *window = new ContentWindow(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    QString error;
    if (!window->load(&error)) {
        Dialogs::message(owner, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        delete window;
        return nullptr;
    }
    window->show();
    return window;
}
