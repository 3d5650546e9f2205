#include "ProgramFolder.h"

#include "Handovers.h"
#include "backup/BackupWindow.h"
#include "backup/ExitWindow.h"
#include "backup/ProgramEnd.h"
#include "common/AccessibleName.h"
#include "common/Dialogs.h"
#include "mainwindow/MainWindow.h"
#include "records/window/RecordsWindow.h"
#include "report/ReportPreview.h"
#include "test/sheet/ScoringSheet.h"
#include "test/window/HotSpot.h"
#include "test/window/TestWindow.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"
#include "update/UpdateWindow.h"
#include "updater/UpdaterWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <memory>

namespace {

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

/// Every control of \a window that can take the keyboard focus, shown or
/// not (panels and buttons appear in later states), whose screen-reader
/// name is empty.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (w->focusPolicy() == Qt::NoFocus || w->focusProxy())
            continue;
        // A pick list's popup list is a window of its own, named by the list.
        if (w->window() != window)
            continue;
        // The inner parts of a composite control are named by the control.
        if (w->parentWidget() && w->parentWidget() != window && w->parentWidget()->focusProxy() == w)
            continue;
        if (accessibleName(w).isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), QLatin1String(w->metaObject()->className()));
    }
    return unnamed;
}

} // namespace

// A screen reader names every field and button of every window.
class TestAccessibleNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void testOptionsAreNumbered();
    void captionsNameTheirFields();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    ClinicValues m_clinic;
};

void TestAccessibleNames::initTestCase()
{
    Dialogs::setTestMode(true);
    ProgramEnd::setHandler([] {});
}

void TestAccessibleNames::init()
{
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir()));
    QVERIFY(m_folder->openAll());
    addExaminee(QStringLiteral("7"), QStringLiteral("کريمي"));
    RecordSource answer;
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    answer.addNew();
    answer.setField(QStringLiteral("Code"), QStringLiteral("7"));
    QVERIFY(answer.update());
}

void TestAccessibleNames::cleanup()
{
    // Deleting one window may take others (its own) with it.
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows << w;
    for (const QPointer<QWidget> &w : windows)
        delete w.data();
    m_folder.reset();
}

using WindowMaker = std::function<QWidget *(ClinicValues *)>;
Q_DECLARE_METATYPE(WindowMaker)

void TestAccessibleNames::everyControlIsNamed_data()
{
    QTest::addColumn<WindowMaker>("make");
    QTest::newRow("main window, registration and settings") << WindowMaker([](ClinicValues *) {
        MainWindow *w = OpenMainWindow();
        if (w) {
            // Both panels are made when first opened.
            w->showArea(MainWindow::Area::Registration);
            w->showArea(MainWindow::Area::Settings);
        }
        return w;
    });
    QTest::newRow("test window") << WindowMaker([](ClinicValues *clinic) {
        auto *w = new TestWindow(nullptr, clinic);
        QString error;
        if (!w->load(QStringLiteral("7"), &error))
            qWarning("load: %s", qPrintable(error));
        return w;
    });
    QTest::newRow("records window") << WindowMaker([](ClinicValues *clinic) {
        auto *w = new RecordsWindow(nullptr, clinic);
        QString error;
        if (!w->load(&error))
            qWarning("load: %s", qPrintable(error));
        return w;
    });
    QTest::newRow("backup window") << WindowMaker([](ClinicValues *) { return new BackupWindow; });
    QTest::newRow("exit window") << WindowMaker([](ClinicValues *) { return new ExitWindow({}); });
    QTest::newRow("update window") << WindowMaker([](ClinicValues *) { return new UpdateWindow; });
    QTest::newRow("scoring-sheet preview")
        << WindowMaker([](ClinicValues *) { return PrintScoringSheet(nullptr, ScoringSheet()); });
    QTest::newRow("updater window") << WindowMaker([](ClinicValues *) { return new UpdaterWindow; });
}

void TestAccessibleNames::everyControlIsNamed()
{
    QFETCH(WindowMaker, make);
    QPointer<QWidget> window = make(&m_clinic);
    QVERIFY(window);
    window->show();
    const QStringList unnamed = unnamedControls(window);
    int controls = 0;
    for (QWidget *w : window->findChildren<QWidget *>())
        controls += w->focusPolicy() != Qt::NoFocus ? 1 : 0;
    QVERIFY(controls > 0);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

// The six options of an item read "1" to "6", as the child sees them drawn.
void TestAccessibleNames::testOptionsAreNumbered()
{
    TestWindow window(nullptr, &m_clinic);
    QString error;
    QVERIFY2(window.load(QStringLiteral("7"), &error), qPrintable(error));
    for (int item = 1; item <= 36; ++item) {
        for (int k = 1; k <= 6; ++k)
            QCOMPARE(accessibleName(child<HotSpot>(&window, QStringLiteral("Lbl%1_%2").arg(k).arg(item))),
                QString::number(k));
    }
}

// Registration and settings: each box is read out by the words of the
// caption beside it, without the colon.
void TestAccessibleNames::captionsNameTheirFields()
{
    MainWindow *main = OpenMainWindow();
    QVERIFY(main);
    main->showArea(MainWindow::Area::Registration);
    main->showArea(MainWindow::Area::Settings);
    int pairs = 0;
    for (QLabel *caption : main->findChildren<QLabel *>()) {
        if (!caption->buddy())
            continue;
        ++pairs;
        const QString name = accessibleName(caption->buddy());
        QCOMPARE(name, CaptionWords(caption->text()));
        QVERIFY(!name.contains(QLatin1Char(':')));
    }
    QVERIFY(pairs >= 10 + 8); // the registration and settings boxes at least
    auto *clinicName = main->findChild<QLineEdit *>(QStringLiteral("Text31"));
    QVERIFY(clinicName);
    QCOMPARE(accessibleName(clinicName), QStringLiteral("نام كلينيك"));
}

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
