// Starting a test by code: from Enter in the code box to the test window
// shown, with 10 and with 100,000 examinees in one run. The first start
// after the database is opened (cold: SQLite's page cache empty) and the
// later ones (warm) are printed apart.
//
//   bench_starttest   (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "BenchFolder.h"
#include "Handovers.h"
#include "bench/common/Stats.h"
#include "common/Dialogs.h"
#include "data/RecordSource.h"
#include "test/window/TestWindow.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

struct Figures
{
    double cold = 0;
    double warm = 0;
};

Figures run(int examinees)
{
    BenchFolder folder(examinees);
    if (!QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir()))
        std::exit(1);
    Database::closeAll(); // as at a start of the program: nothing read yet
    QWidget mainWindow;
    ClinicValues clinic;
    RecordSource Adodc1; // the main window's IDE source, opened as it does
    QString error;
    if (!OpenRecordSources({ { &Adodc1, Database::File::Examinee, "IDE" } }, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
    const QString code = QString::number(examinees); // the last row
    std::vector<double> times;
    for (int round = 0; round < 6; ++round) {
        Dialogs::setNextInput(code);
        QElapsedTimer t;
        t.start();
        StartTestByCode(&mainWindow, &Adodc1, &clinic);
        TestWindow *window = OpenTestWindow();
        if (!window || !QTest::qWaitForWindowExposed(window)) {
            for (const Dialogs::Shown &box : Dialogs::takeLog())
                std::fprintf(stderr, "%s: %s\n", qPrintable(box.title), qPrintable(box.text));
            qFatal("no test window for %s", qPrintable(code));
        }
        times.push_back(t.nsecsElapsed() / 1e6);
        window->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Dialogs::takeLog();
    Figures f;
    f.cold = times.front();
    f.warm = median(std::vector<double>(times.begin() + 1, times.end()));
    Database::closeAll();
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Dialogs::setTestMode(true);
    run(10); // the program's own first-time costs (fonts, plugins) are not the database's
    const Figures small = run(10);
    const Figures large = run(100000);
    std::printf("start a test by code, Enter to the test window shown:\n");
    std::printf("       10 examinees: cold %7.1f ms, warm median %7.1f ms\n", small.cold, small.warm);
    std::printf("  100,000 examinees: cold %7.1f ms, warm median %7.1f ms\n", large.cold, large.warm);
    std::printf("  ratio 100,000 / 10: cold %.2f, warm %.2f (target at most 1.5)\n", large.cold / small.cold,
        large.warm / small.warm);
    return 0;
}
