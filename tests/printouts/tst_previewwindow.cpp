#include "report/ReportPreview.h"
#include "test/sheet/ScoringSheet.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QScreen>
#include <QTest>

// The scoring sheet's preview on a 1024 by 768 screen, the smallest a
// clinic's computer is likely to have.
class TestPreviewWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screenIsSmall();
    void outlivesTheTestWindowAndFitsTheScreen();
    void fittedGeometry_data();
    void fittedGeometry();
};

void TestPreviewWindow::screenIsSmall()
{
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1024, 768));
}

void TestPreviewWindow::outlivesTheTestWindowAndFitsTheScreen()
{
    auto *testWindow = new QWidget(nullptr, Qt::Window);
    testWindow->resize(857, 545);
    testWindow->show();
    ScoringSheet sheet;
    sheet.firstName = QStringLiteral("سارا");
    sheet.iq = QStringLiteral("104");
    QPointer<ReportPreview> preview = PrintScoringSheet(testWindow, sheet);
    QVERIFY(preview && preview->isVisible() && preview->isWindow());
    QVERIFY(!preview->isModal());
    QVERIFY(!preview->parentWidget());
    const QRect available = preview->screen()->availableGeometry();
    QVERIFY2(available.contains(preview->frameGeometry()),
        qPrintable(QStringLiteral("%1,%2 %3x%4")
                       .arg(preview->frameGeometry().x())
                       .arg(preview->frameGeometry().y())
                       .arg(preview->frameGeometry().width())
                       .arg(preview->frameGeometry().height())));
    QVERIFY(preview->height() < 768 - 34);
    QTRY_COMPARE(preview->pageCount(), 1);

    delete testWindow; // the test window closes: the preview stays
    QVERIFY(preview);
    QVERIFY(preview->isVisible());
    preview->close();
    QTRY_VERIFY(!preview); // and goes when it is closed itself
}

void TestPreviewWindow::fittedGeometry_data()
{
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("1024x768 shrinks the height")
        << QSize(820, 980) << QRect(0, 0, 1024, 768) << QRect(102, 34, 820, 726);
    QTest::newRow("tall screen keeps the size")
        << QSize(820, 980) << QRect(0, 0, 1920, 1200) << QRect(550, 123, 820, 980);
    QTest::newRow("panel at the top") << QSize(820, 980) << QRect(0, 40, 1280, 984) << QRect(230, 74, 820, 942);
    QTest::newRow("narrow") << QSize(820, 980) << QRect(0, 0, 640, 480) << QRect(8, 34, 624, 438);
}

void TestPreviewWindow::fittedGeometry()
{
    QFETCH(QSize, wanted);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    const QRect g = ReportPreview::fittedGeometry(wanted, available);
    QCOMPARE(g, expected);
    QVERIFY(available.contains(g.marginsAdded(QMargins(8, 34, 8, 8))));
}

int main(int argc, char **argv)
{
    // A screen of 1024 by 768 for the offscreen platform.
    const QString config = QDir::temp().filePath(
        QStringLiteral("pelorin-screen-1024x768-%1.json").arg(QCoreApplication::applicationPid()));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(R"({ "screens": [ { "name": "small", "x": 0, "y": 0, "width": 1024, "height": 768,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] })")
            < 0)
        return 2;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    int result = 0;
    {
        QApplication app(argc, argv);
        TestPreviewWindow test;
        result = QTest::qExec(&test, argc, argv);
    }
    QFile::remove(config);
    return result;
}

#include "tst_previewwindow.moc"
