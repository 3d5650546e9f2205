// A process recording clicks is killed at random moments; after each kill
// the file is sound and the last logged choice of every item is the answer
// Answer holds. The same executable is the writer when started with
// --write-clicks <program folder>.

#include "ExamFolder.h"
#include "common/Dialogs.h"
#include "data/AnswerLog.h"
#include "test/scoring/ClickGuard.h"
#include "test/window/TestWindow.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include <csignal>
#include <cstdio>

namespace {

const QString kCode = QStringLiteral("07");

// Clicks random options through the test window until killed, going back
// now and then so items are answered again.
int writeClicks(const QString &programDir)
{
    AppPaths::setProgramDir(programDir);
    QString error;
    if (!Database::open(Database::File::Examinee, &error) || !Database::open(Database::File::Theme, &error)) {
        std::fprintf(stderr, "open: %s\n", qPrintable(error));
        return 2;
    }
    ClickGuard::setInterval(0);
    Dialogs::setTestMode(true); // a failed store must not wait on a box
    ClinicValues clinic;
    TestWindow window(nullptr, &clinic);
    if (!window.load(kCode, &error)) {
        std::fprintf(stderr, "load: %s\n", qPrintable(error));
        return 2;
    }
    child<RecordSource>(&window, "Adodc2")->setFilter(QStringLiteral("code"), kCode);
    child<QLabel>(&window, "Lblkey")->setText(kCode);
    window.show();
    window.activate();
    window.StartTest();
    QRandomGenerator *random = QRandomGenerator::global();
    bool announced = false;
    for (;;) {
        if (random->bounded(4) == 0)
            window.PreviousItem();
        else if (window.visibleItem())
            window.RecordAnswer(window.visibleItem(), 1 + random->bounded(6));
        if (!announced) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
            announced = true;
        }
    }
}

} // namespace

class TestAnswerLogKill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLeavesLogAndAnswerAgreeing();
};

void TestAnswerLogKill::killedWriterLeavesLogAndAnswerAgreeing()
{
    ExamFolder folder;
    addExaminee(kCode);
    addExaminee(QStringLiteral("1"));
    Database::closeAll();
    int lastRows = 0;
    for (int round = 0; round < 8; ++round) {
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--write-clicks"), folder.dir.path() });
        QVERIFY(writer.waitForStarted());
        QVERIFY2(writer.waitForReadyRead(20000), "the writer never clicked");
        QTest::qWait(20 + int(QRandomGenerator::global()->bounded(400)));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

        QString error;
        QVERIFY2(Database::open(Database::File::Examinee, &error), qPrintable(error));
        QSqlQuery q(Database::connection(Database::File::Examinee));
        QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        q.finish();
        const QVector<AnswerLog::Row> rows
            = AnswerLog::read(Database::connection(Database::File::Examinee), kCode, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(rows.size() > lastRows, "each round adds clicks");
        lastRows = int(rows.size());
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i].seq, i + 1);
        const QVector<int> last = AnswerLog::lastChoices(rows);
        for (int item = 1; item <= 36; ++item) {
            const QString stored = storedField(QStringLiteral("Answer"), kCode, QString::number(item));
            if (last[item])
                QCOMPARE(stored, QString::number(last[item]));
            else
                QVERIFY2(stored.isEmpty() || stored == QLatin1String("0"), qPrintable(stored));
        }
        QCOMPARE(storedRows(QStringLiteral("AnswerLog")), lastRows); // no other examinee's rows
        Database::closeAll();
    }
    qInfo("%d clicks logged over 8 kills", lastRows);
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--write-clicks") == 0) {
        QApplication app(argc, argv);
        return writeClicks(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    TestAnswerLogKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_answerlogkill.moc"
