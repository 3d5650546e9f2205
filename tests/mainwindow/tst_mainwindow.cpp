#include "ProgramFolder.h"
#include "common/Dialogs.h"
#include "data/AppInfo.h"
#include "data/DataTexts.h"
#include "mainwindow/CreditsBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/registration/RegistrationPanel.h"
#include "mainwindow/settings/SettingsPanel.h"
#include "tests/common/Children.h"
#include "ui/Fonts.h"
#include "ui/Style.h"
#include "ui/WebLinks.h"
#include "ui/WrapButton.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void placementAndEllipse();
    void everyControlInsideTheEllipse_data();
    void everyControlInsideTheEllipse();
    void buttons_data();
    void buttons();
    void captionsFitInsideTheirButtons();
    void versionLabel();
    void panelsTakeTheCreditsPlace();
    void webLinks();
    void creditsTimerMovesLines();
    void brokenDatabaseStopsTheLoad();
    void closingRunsTheExitAction();
    void lockedFileIsShownWhenRegistrationOpens();

private:
    ProgramFolder *m_folder = nullptr;
    MainWindow *m_window = nullptr;
};

void TestMainWindow::init()
{
    Dialogs::setTestMode(true);
    m_folder = new ProgramFolder;
    m_window = new MainWindow;
    QString error;
    QVERIFY2(m_window->load(&error), qPrintable(error));
    m_window->show();
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_folder;
    m_folder = nullptr;
    WebLinks::setOpener({});
}

void TestMainWindow::placementAndEllipse()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Frm0"));
    QCOMPARE(m_window->pos(), QPoint(176, 1));
    // The client area is 618 x 515 below a band as high as a title bar.
    QCOMPARE(m_window->size(), QSize(618, 545));
    const QWidget *client = m_window->findChild<QWidget *>(QStringLiteral("client"));
    QVERIFY(client);
    QCOMPARE(client->geometry(), QRect(0, 30, 618, 515));
    const QRegion mask = m_window->mask();
    QVERIFY(mask.contains(QPoint(314, 272)));
    QVERIFY(mask.contains(QPoint(12, 272)));
    QVERIFY(!mask.contains(QPoint(8, 272))); // the ellipse starts 10 px in
    QVERIFY(!mask.contains(QPoint(12, 5))); // corners are cut away
    QVERIFY(!mask.contains(QPoint(610, 540)));
}

void TestMainWindow::everyControlInsideTheEllipse_data()
{
    QTest::addColumn<int>("area");
    QTest::newRow("credits") << int(MainWindow::Area::Credits);
    QTest::newRow("registration") << int(MainWindow::Area::Registration);
    QTest::newRow("settings") << int(MainWindow::Area::Settings);
}

// What the window shows must not be cut by its elliptic shape: every visible
// control (a panel's own frame aside) lies wholly inside the mask.
void TestMainWindow::everyControlInsideTheEllipse()
{
    QFETCH(int, area);
    m_window->showArea(MainWindow::Area(area));
    const QRegion mask = m_window->mask();
    QStringList cut;
    for (QWidget *w : m_window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w == m_window->registrationPanel() || w == m_window->settingsPanel()
            || w->parentWidget() == child<CreditsBox>(m_window, "Picture1")
            || !w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).isEmpty())
            continue;
        const QRect r(w->mapTo(m_window, QPoint(0, 0)), w->size());
        if (!(QRegion(r) - mask).isEmpty())
            cut << QStringLiteral("%1 %2,%3 %4x%5")
                       .arg(w->objectName())
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height());
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

void TestMainWindow::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("hasTip");
    QTest::newRow("start") << "Command3" << QRect(65, 318, 68, 70) << QStringLiteral("شروع") << true;
    QTest::newRow("details") << "Command6" << QRect(141, 318, 119, 70) << QStringLiteral("نمايش مشخصات آزمودني")
                             << true;
    QTest::newRow("register") << "Command2" << QRect(268, 318, 68, 70) << QStringLiteral("ثبت نام آزمودني") << true;
    QTest::newRow("settings") << "Command7" << QRect(344, 318, 62, 70) << QStringLiteral("تنظيمات") << true;
    QTest::newRow("update") << "Command9" << QRect(413, 318, 84, 70) << QStringLiteral("به روز رساني") << false;
    QTest::newRow("exit") << "Command1" << QRect(503, 318, 59, 70) << QStringLiteral("خروج") << false;
}

void TestMainWindow::buttons()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, hasTip);
    auto *b = m_window->findChild<WrapButton *>(name);
    QVERIFY(b);
    QCOMPARE(b->geometry(), geometry);
    QCOMPARE(b->text(), caption);
    QCOMPARE(!b->toolTip().isEmpty(), hasTip);
    const QFontInfo info(b->font());
    QCOMPARE(info.family(), Fonts::resolve(QStringLiteral("B Nazanin")));
    QVERIFY(info.bold());
    QCOMPARE(b->font().pointSize(), 12);
    QVERIFY(b->styleSheet().contains(Style::buttonFace.name()));
}

void TestMainWindow::captionsFitInsideTheirButtons()
{
    for (WrapButton *b : m_window->findChildren<WrapButton *>()) {
        const QFontMetrics fm(b->font());
        const QRect area = b->rect().adjusted(3, 2, -3, -2);
        const QRect needed = fm.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, b->text());
        QVERIFY2(area.contains(needed), qPrintable(b->objectName()));
        // Single words must fit across; a two-word caption may wrap onto two lines.
        for (const QString &word : b->text().split(QLatin1Char(' ')))
            QVERIFY2(fm.horizontalAdvance(word) <= area.width(), qPrintable(b->objectName() + QLatin1Char(' ') + word));
    }
}

void TestMainWindow::versionLabel()
{
    QCOMPARE(child<QLabel>(m_window, "SkinLabel9")->text(), QStringLiteral("Pelorin 2.3"));
    QCOMPARE(child<QLabel>(m_window, "SkinLabel9")->pos(), QPoint(302, 3));
    // The tooltip tells where the data is (here the test's portable folder).
    QCOMPARE(child<QLabel>(m_window, "SkinLabel9")->toolTip(), QStringLiteral("پوشه اطلاعات: ") + AppPaths::dataDir());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Pelorin"));
}

void TestMainWindow::panelsTakeTheCreditsPlace()
{
    QVERIFY(child<CreditsBox>(m_window, "Picture1")->isVisible());
    QVERIFY(!m_window->registrationPanel()->isVisible() && !m_window->settingsPanel()->isVisible());
    QCOMPARE(child<CreditsBox>(m_window, "Picture1")->geometry(), QRect(15, 96, 601, 218));
    QCOMPARE(m_window->registrationPanel()->geometry(), QRect(63, 96, 501, 218));
    QCOMPARE(m_window->settingsPanel()->geometry(), QRect(58, 9, 444, 306));

    child<WrapButton>(m_window, "Command2")->click();
    QCOMPARE(m_window->area(), MainWindow::Area::Registration);
    QVERIFY(!child<CreditsBox>(m_window, "Picture1")->isVisible() && m_window->registrationPanel()->isVisible()
        && !m_window->settingsPanel()->isVisible());
    child<WrapButton>(m_window, "Command7")->click();
    QVERIFY(!child<CreditsBox>(m_window, "Picture1")->isVisible() && !m_window->registrationPanel()->isVisible()
        && m_window->settingsPanel()->isVisible());
    Q_EMIT m_window->settingsPanel()->closed();
    QCOMPARE(m_window->area(), MainWindow::Area::Credits);
    QVERIFY(child<CreditsBox>(m_window, "Picture1")->isVisible());
    child<WrapButton>(m_window, "Command2")->click();
    Q_EMIT m_window->registrationPanel()->closed();
    QVERIFY(child<CreditsBox>(m_window, "Picture1")->isVisible() && !m_window->registrationPanel()->isVisible());
}

void TestMainWindow::webLinks()
{
    QList<QUrl> opened;
    WebLinks::setOpener([&](const QUrl &u) { opened << u; });
    child<QToolButton>(m_window, "CmdHelp")->click();
    QTest::mouseClick(child<CreditsBox>(m_window, "Picture1"), Qt::LeftButton, {}, QPoint(300, 20));
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].toString(), AppInfo::serverUrl() + QStringLiteral("/other/fonts.html"));
    QCOMPARE(opened[1].toString(), AppInfo::serverUrl() + QStringLiteral("/"));
    QVERIFY(opened[0].scheme() == QLatin1String("http"));
    QVERIFY(Dialogs::takeLog().isEmpty()); // nothing reported
}

void TestMainWindow::creditsTimerMovesLines()
{
    CreditsBox *box = child<CreditsBox>(m_window, "Picture1");
    QVERIFY(box->timer()->isActive());
    QVERIFY(box->timer()->interval() <= 16);
    QCOMPARE(box->line(0)->text(), QStringLiteral("نرم افزار هوش پلورين کودکان"));
    QCOMPARE(box->line(2)->text(), QString(28, QLatin1Char('*')));
    QTRY_VERIFY_WITH_TIMEOUT(box->offsetBox()->text().toInt() >= 100, 5000);
    const int top = box->line(0)->y();
    QTRY_VERIFY_WITH_TIMEOUT(box->line(0)->y() < top, 2000);
    // Still running while the window is hidden, as while a test is open.
    m_window->hide();
    const int offset = box->offsetBox()->text().toInt();
    QTRY_VERIFY_WITH_TIMEOUT(box->offsetBox()->text().toInt() > offset, 2000);
}

void TestMainWindow::brokenDatabaseStopsTheLoad()
{
    delete m_window;
    m_window = nullptr;
    Database::closeAll();
    QFile f(AppPaths::examineeDatabase());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("garbage");
    f.close();
    MainWindow w;
    QString error;
    QVERIFY(!w.load(&error));
    QVERIFY2(error.contains(QStringLiteral("DBres.mdb")), qPrintable(error));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("garbage"));
}

void TestMainWindow::closingRunsTheExitAction()
{
    int calls = 0;
    connect(m_window, &MainWindow::exitRequested, this, [&] { ++calls; });
    QPointer<MainWindow> window = m_window;
    m_window->close();
    QCOMPARE(calls, 1);
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(window.isNull()); // unloaded
    m_window = nullptr;
}

// The code proposal reads the file; another program holding it locked is
// said, and no code is proposed from an old copy.
void TestMainWindow::lockedFileIsShownWhenRegistrationOpens()
{
    addExaminee(QStringLiteral("5"));
    Dialogs::takeLog();
    {
        ExclusiveLock lock(AppPaths::examineeDatabase());
        child<WrapButton>(m_window, "Command2")->click();
    }
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].title, QStringLiteral("خطا"));
    QCOMPARE(log[0].text, DataTexts::locked);
    QCOMPARE(log[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(child<QLineEdit>(m_window, "Text2_2")->text(), QString());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
