// Start-up time: process start to the main window shown, against an empty
// Qt window measured in the same run. Each child process exits as soon as its
// window is exposed; the parent times whole processes.
//
// Then the same start with 10 and with 100,000 examinees in "DBres.mdb".
//
//   bench_startup [runs]      (run it under Xvfb or with QT_QPA_PLATFORM=offscreen)

#include "InstalledFolder.h"
#include "bench/common/Stats.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace {

int child(const QString &mode, int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget *w = nullptr;
    if (mode == QLatin1String("pelorin")) {
        // A usual start: the data folder exists, only its files are looked for.
        AppPaths::setProgramDir(QStringLiteral(PELORIN_PROGRAM_DIR));
        const QString data = QString::fromLocal8Bit(argv[3]);
        AppPaths::setDataDir(data);
        DataFolder::Result result;
        QString error;
        if (!DataFolder::fillFromTemplates(AppPaths::templatesDir(), data, &result, &error) || result.createdFiles) {
            std::fprintf(stderr, "data folder: %s\n", qPrintable(error));
            return 1;
        }
        auto *m = new MainWindow;
        if (!m->load(&error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        w = m;
    } else {
        w = new QWidget;
        w->resize(618, 515);
    }
    w->show();
    // Leave once the first frame is on screen.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (w->windowHandle() && w->windowHandle()->isExposed())
            QTimer::singleShot(0, &app, &QApplication::quit);
    });
    poll.start(1);
    return app.exec();
}

// Adds \a count examinees with their answer rows, in one transaction.
bool addExaminees(const QString &database, int count)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(database);
        if (db.open()) {
            QSqlQuery q(db);
            ok = db.transaction();
            QSqlQuery ide(db), answer(db);
            ide.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, LName, Jens, Sen, Tahsil, \"Group\", Azmayande, "
                                       "NKham, Hooshbahr, RDarsadi) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
            answer.prepare(QStringLiteral("INSERT INTO Answer (Code) VALUES (?)"));
            for (int i = 1; ok && i <= count; ++i) {
                const QString code = QString::number(i);
                for (const QString &v : { code, QStringLiteral("سارا"), QStringLiteral("احمدي %1").arg(i),
                         QStringLiteral("دختر"), QString::number(5 + i % 6), QStringLiteral("اول"), QStringLiteral("A"),
                         QStringLiteral("دکتر"), QStringLiteral("20"), QStringLiteral("100"), QStringLiteral("50") })
                    ide.addBindValue(v);
                answer.addBindValue(code);
                ok = ide.exec() && answer.exec();
            }
            ok = ok && db.commit();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

double timeChild(const char *argv0, const char *mode, const QString &data)
{
    QElapsedTimer t;
    t.start();
    const int rc
        = QProcess::execute(QString::fromLocal8Bit(argv0), { QStringLiteral("--child"), QLatin1String(mode), data });
    if (rc != 0) {
        std::fprintf(stderr, "child %s failed (%d)\n", mode, rc);
        std::exit(1);
    }
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && qstrcmp(argv[1], "--child") == 0)
        return child(QString::fromLatin1(argv[2]), argc, argv);

    const int runs = argc >= 2 ? std::max(1, atoi(argv[1])) : 15;
    // The first start's copy of the templates, timed once in this process.
    QElapsedTimer first;
    first.start();
    const InstalledFolder folder;
    const double firstMs = first.nsecsElapsed() / 1e6;
    QVector<double> empty, pelorin;
    for (int i = 0; i < runs; ++i) {
        for (const char *mode : { "empty", "pelorin" }) {
            QElapsedTimer t;
            t.start();
            const int rc = QProcess::execute(QString::fromLocal8Bit(argv[0]),
                { QStringLiteral("--child"), QLatin1String(mode), folder.data.path() });
            const double ms = t.nsecsElapsed() / 1e6;
            if (rc != 0) {
                std::fprintf(stderr, "child %s failed (%d)\n", mode, rc);
                return 1;
            }
            (qstrcmp(mode, "empty") == 0 ? empty : pelorin) << ms;
        }
    }
    const double e = median(empty), p = median(pelorin);
    std::printf("start to window shown, median of %d runs\n", runs);
    std::printf("  empty Qt window: %7.1f ms\n", e);
    std::printf("  Pelorin main window: %7.1f ms\n", p);
    std::printf("  first start only, data folder made from the templates: %.1f ms\n", firstMs);
    std::printf("  ratio: %.2f (target <= 1.5)\n", p / e);

    // Start-up at scale: the same start over a database of 10 and of 100,000.
    QCoreApplication app(argc, argv);
    const InstalledFolder small, large;
    if (!addExaminees(QDir(small.data.path()).filePath(QStringLiteral("DBres.mdb")), 10)
        || !addExaminees(QDir(large.data.path()).filePath(QStringLiteral("DBres.mdb")), 100000)) {
        std::fprintf(stderr, "could not fill the databases\n");
        return 1;
    }
    QVector<double> ten, many;
    for (int i = 0; i < runs; ++i) {
        ten << timeChild(argv[0], "pelorin", small.data.path());
        many << timeChild(argv[0], "pelorin", large.data.path());
    }
    const double t10 = median(ten), t100k = median(many);
    std::printf("start with 10 examinees: %7.1f ms, with 100,000: %7.1f ms, ratio %.2f (target <= 1.2)\n", t10, t100k,
        t100k / t10);
    return 0;
}
