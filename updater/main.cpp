#include "common/Dialogs.h"
#include "updater/UpdaterWindow.h"

#include <QApplication>

#ifdef PELORIN_UPDATER_TEST_COPY
#include "updater/SignatureCheck.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

// The test copy of the updater (never installed): the tests' server address
// and key come from the command line, boxes are answered by the dialog seam
// and listed on standard output when the program ends, and --then presses
// "exit" or "download" or closes the window once the program runs.
static void prepareTestCopy(UpdaterWindow &window, const QStringList &args)
{
    Dialogs::setTestMode(true);
    const auto option = [&args](const char *name) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
    };
    if (const QString url = option("--setup-url"); !url.isEmpty())
        window.findChild<QLineEdit *>(QStringLiteral("Text"))->setText(url);
    if (const QString key = option("--public-key"); !key.isEmpty())
        window.setPublicKey(SignatureCheck::publicKeyFromHex(key.toLatin1()));
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
        for (const Dialogs::Shown &shown : Dialogs::takeLog())
            std::printf("box: %s|%s\n", qPrintable(shown.title), qPrintable(shown.text));
        std::fflush(stdout);
    });
    const QString then = option("--then");
    QTimer::singleShot(0, &window, [&window, then] {
        std::printf("action: %s\n", qPrintable(then));
        std::fflush(stdout);
        if (then == QLatin1String("exit"))
            window.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        else if (then == QLatin1String("close"))
            window.close();
        else if (then == QLatin1String("download"))
            window.findChild<QPushButton *>(QStringLiteral("cmdUpdate"))->click();
    });
}
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorinupdate"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    Dialogs::setReadingFollowsText(true);
    UpdaterWindow window;
    // A tool window does not end the application when it closes.
    QObject::connect(
        &window, &UpdaterWindow::ended, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
#ifdef PELORIN_UPDATER_TEST_COPY
    prepareTestCopy(window, QCoreApplication::arguments());
#endif
    window.show();
    window.activateWindow();
    return app.exec();
}
