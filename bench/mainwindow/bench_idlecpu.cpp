// CPU used by the main window while only the credits scroll.
//
//   bench_idlecpu [seconds]   (default 20; run under Xvfb for a real X server)

#include "InstalledFolder.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double wallSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = argc >= 2 ? atoi(argv[1]) : 20;
    InstalledFolder folder;
    MainWindow w;
    QString error;
    if (!w.load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    w.show();
    double cpu0 = 0, wall0 = 0;
    // Settle for a second, then measure.
    QTimer::singleShot(1000, [&] {
        cpu0 = cpuSeconds();
        wall0 = wallSeconds();
        QTimer::singleShot(seconds * 1000, [&] {
            const double cpu = cpuSeconds() - cpu0, wall = wallSeconds() - wall0;
            std::printf("platform %s, %.1f s scrolling: %.2f s CPU = %.2f%% of one core (target <= 2%%)\n",
                qPrintable(QGuiApplication::platformName()), wall, cpu, 100 * cpu / wall);
            app.quit();
        });
    });
    return app.exec();
}
