// The test window: a click on an option until the next item is painted
// (the answer stored durably on the way), "نتيجه" until the panel shows the
// stored result, "چاپ" until the scoring sheet's preview is shown with its
// page, and opening the window, with 1 and with 100,000 examinees.
#include "bench/common/Stats.h"
#include "common/Dialogs.h"
#include "data/AppPaths.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "data/Schema.h"
#include "report/ReportPreview.h"
#include "test/scoring/ClickGuard.h"
#include "test/window/HotSpot.h"
#include "test/window/TestWindow.h"
#include "tests/common/Children.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

/// Notes the first paint of a widget after arm(); the click itself may
/// already run the event loop, so the watch is armed before it.
class PaintWatch : public QObject
{
public:
    void arm(QWidget *widget)
    {
        m_painted = false;
        m_widget = widget;
        widget->installEventFilter(this);
    }
    void wait()
    {
        while (!m_painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        m_widget->removeEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    bool m_painted = false;
    QWidget *m_widget = nullptr;
};

void fill(int examinees)
{
    QSqlDatabase db = Database::connection(Database::File::Examinee);
    db.transaction();
    QSqlQuery ide(db), answer(db);
    ide.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, LName, Sen) VALUES (?, 'علي', 'رضايي', '7')"));
    // Everyone before the examinee under test has answered all items.
    QStringList columns { QStringLiteral("Code") }, marks { QStringLiteral("?") };
    for (int i = 1; i <= 36; ++i) {
        columns << Schema::quoted(QString::number(i));
        marks << QStringLiteral("'%1'").arg(i % 6 + 1);
    }
    answer.prepare(QStringLiteral("INSERT INTO Answer (%1) VALUES (%2)").arg(columns.join(','), marks.join(',')));
    QSqlQuery last(db);
    last.prepare(QStringLiteral("INSERT INTO Answer (Code) VALUES (?)"));
    for (int i = 1; i <= examinees; ++i) {
        ide.addBindValue(QString::number(i));
        ide.exec();
        QSqlQuery &q = i == examinees ? last : answer;
        q.addBindValue(QString::number(i));
        q.exec();
    }
    db.commit();
}

void run(int examinees)
{
    QTemporaryDir dir;
    AppPaths::setProgramDir(dir.path());
    QVector<Schema::NormsRow> norms;
    QString error;
    if (!Schema::readNormsCsv(QStringLiteral(PELORIN_CONTENT_DIR "/norms.csv"), &norms, &error)
        || !Schema::createExamineeFile(AppPaths::examineeDatabase(), norms, &error)
        || !Schema::createThemeFile(AppPaths::themeDatabase(), &error)
        || !QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir())
        || !Database::open(Database::File::Examinee, &error) || !Database::open(Database::File::Theme, &error))
        qFatal("%s", qPrintable(error));
    fill(examinees);
    const QString code = QString::number(examinees); // the last row: the longest filter scans

    std::vector<double> clicks, results, prints, opens;
    for (int round = 0; round < 3; ++round) {
        QWidget main;
        QElapsedTimer t;
        t.start();
        TestWindow window(&main, nullptr);
        if (!window.load(&error))
            qFatal("%s", qPrintable(error));
        child<RecordSource>(&window, "Adodc2")->setFilter(QStringLiteral("code"), code);
        child<QLabel>(&window, "Lblkey")->setText(code);
        window.show();
        window.activate();
        opens.push_back(t.nsecsElapsed() / 1e6);
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the test window was not exposed");

        PaintWatch watch;
        watch.arm(child<QLabel>(&window, "Pic1_1"));
        window.StartTest();
        watch.wait();
        for (int item = 1; item < 36; ++item) {
            HotSpot *spot = child<HotSpot>(&window, QStringLiteral("Lbl%1_%2").arg(item % 6 + 1).arg(item));
            const QPoint at = spot->mapTo(&window, spot->rect().center());
            watch.arm(child<QLabel>(&window, QStringLiteral("Pic1_%1").arg(item + 1)));
            t.restart();
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
            watch.wait();
            clicks.push_back(t.nsecsElapsed() / 1e6);
        }
        for (int press = 0; press < 3; ++press) {
            child<QFrame>(&window, "Frame2")->hide();
            QCoreApplication::processEvents();
            watch.arm(child<QLabel>(&window, "Lblhoosh"));
            t.restart();
            QTest::mouseClick(child<QPushButton>(&window, "Command4"), Qt::LeftButton);
            watch.wait();
            results.push_back(t.nsecsElapsed() / 1e6);
        }
        for (int press = 0; press < 3; ++press) {
            t.restart();
            QTest::mouseClick(child<QPushButton>(&window, "Command8"), Qt::LeftButton);
            ReportPreview *preview = window.findChild<ReportPreview *>();
            while (!preview || preview->pageCount() == 0) {
                QCoreApplication::processEvents();
                preview = window.findChild<ReportPreview *>();
            }
            preview->grab(); // the window as it is first painted
            prints.push_back(t.nsecsElapsed() / 1e6);
            delete preview;
        }
    }
    std::printf(
        "%7d examinees: open test window median %.1f ms; click to next item painted median %.2f ms "
        "(max %.2f); result to panel painted median %.1f ms; print to sheet preview shown median %.0f ms (max %.0f)\n",
        examinees, median(opens), median(clicks), *std::max_element(clicks.begin(), clicks.end()), median(results),
        median(prints), *std::max_element(prints.begin(), prints.end()));
    std::fflush(stdout);
    Database::closeAll();
    AppPaths::setProgramDir(QString());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Dialogs::setTestMode(true);
    ClickGuard::setInterval(0); // the clicks follow each other at once
    for (int n : { 1, 100000 })
        run(n);
    return 0;
}
