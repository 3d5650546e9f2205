#include "common/Dialogs.h"
#include "ui/TimedNotice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QMessageBox *openNotice()
{
    return qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
}

} // namespace

class TestTimedNotice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closesItselfAfterASecond();
    void secondNoticeGetsItsOwnSecond();
    void noticesOfTwoOwnersEachGetTheirSecond();
    void testModeOnlyLogs();
};

void TestTimedNotice::closesItselfAfterASecond()
{
    Dialogs::setTestMode(false);
    QWidget owner;
    owner.show();
    QString title, text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QTimer::singleShot(200, [&] {
        if (QMessageBox *box = openNotice()) {
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            icon = box->icon();
        }
    });
    QElapsedTimer clock;
    clock.start();
    ShowTimedNotice(&owner, QStringLiteral("ذخيره شد"));
    const qint64 ms = clock.elapsed();
    QCOMPARE(title, QStringLiteral("پيام"));
    QCOMPARE(text, QStringLiteral("ذخيره شد"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QVERIFY2(ms >= 900 && ms <= 1500, qPrintable(QString::number(ms)));
}

// The user closes the first notice at once; the second one, shown right
// after, must still stay about a second and not be closed by the first's timer.
void TestTimedNotice::secondNoticeGetsItsOwnSecond()
{
    Dialogs::setTestMode(false);
    QWidget owner;
    owner.show();
    QTimer::singleShot(100, [] {
        if (QMessageBox *box = openNotice())
            box->button(QMessageBox::Ok)->click();
    });
    QElapsedTimer clock;
    clock.start();
    ShowTimedNotice(&owner, QStringLiteral("first"));
    QVERIFY(clock.elapsed() < 600);
    QTest::qWait(400);
    clock.restart();
    ShowTimedNotice(&owner, QStringLiteral("second"));
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms >= 900 && ms <= 1500, qPrintable(QString::number(ms)));
}

// A notice of another window shown over the first one stays its second;
// the first one's time does not close it early, and the first closes after.
void TestTimedNotice::noticesOfTwoOwnersEachGetTheirSecond()
{
    Dialogs::setTestMode(false);
    QWidget first, second;
    first.show();
    second.show();
    qint64 secondMs = -1;
    QElapsedTimer clock;
    QTimer::singleShot(600, [&] {
        QElapsedTimer inner;
        inner.start();
        ShowTimedNotice(&second, QStringLiteral("second"));
        secondMs = inner.elapsed();
    });
    clock.start();
    ShowTimedNotice(&first, QStringLiteral("first"));
    const qint64 firstMs = clock.elapsed();
    QVERIFY2(secondMs >= 900 && secondMs <= 1500, qPrintable(QString::number(secondMs)));
    QVERIFY2(firstMs >= 1500 && firstMs <= 3500, qPrintable(QString::number(firstMs)));
}

void TestTimedNotice::testModeOnlyLogs()
{
    Dialogs::setTestMode(true);
    QElapsedTimer clock;
    clock.start();
    ShowTimedNotice(nullptr, QStringLiteral("کد آزمودني را وارد کنيد"));
    QVERIFY(clock.elapsed() < 200);
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].kind, QStringLiteral("notice"));
    QCOMPARE(log[0].title, QStringLiteral("پيام"));
    QCOMPARE(log[0].text, QStringLiteral("کد آزمودني را وارد کنيد"));
    Dialogs::setTestMode(false);
}

QTEST_MAIN(TestTimedNotice)
#include "tst_timednotice.moc"
