#include "BackupFixtures.h"
#include "backup/BackupWindow.h"
#include "backup/CopyBackupFile.h"
#include "backup/ProgramEnd.h"
#include "calendar/Clock.h"
#include "common/Dialogs.h"
#include "tests/common/Children.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <cstring>

using namespace BackupFixtures;

namespace {

namespace Text {
const QString title = QStringLiteral("Pelorin");
const QString error = QStringLiteral("خطا");
const QString backupPathEmpty = QStringLiteral("لطفا مسير تهيه نسخه پشتيبان را وارد کنيد");
const QString replaceQuestion
    = QStringLiteral("فايل پشتيباني با اين نام قبلا ايجاد شده آيا ميخواهيد اين فايل را جايگزين کنيد؟");
const QString backupDone = QStringLiteral("نسخه پشتيبان تهيه گرديد");
const QString backupNotDone = QStringLiteral("عدم موفقيت در تهيه نسخه پشتيبان");
const QString restorePathEmpty = QStringLiteral("لطفا مسير فايل مربوطه را وارد کنيد");
const QString restoreQuestion = QStringLiteral("آيا ميخواهيد اطلاعات را بازيابي کنيد؟");
const QString restoreDone = QStringLiteral("بازيابي اطلاعات انجام شد");
const QString restoreNotDone = QStringLiteral("عدم موفقيت در بازيابي اطلاعات ");
const QString copyFailed = QStringLiteral("اشکال در ايجاد نسخه پشتيباني") + QStringLiteral("\r\n");
const QString example = QStringLiteral("Pelorinدر تاريخ1401.7.28 ساعت)9.05).mdbB");
} // namespace Text

// One shown box as "title | icon | buttons | text" for whole-sequence compares.
QString describe(const Dialogs::Shown &s)
{
    return QStringLiteral("%1 | %2 | %3 | %4").arg(s.title).arg(int(s.icon)).arg(int(s.buttons)).arg(s.text);
}

QString box(const QString &title, Dialogs::Icon icon, QMessageBox::StandardButtons buttons, const QString &text)
{
    return describe(Dialogs::Shown { QStringLiteral("message"), title, text, buttons, icon, {}, {} });
}

QStringList takeMessages()
{
    QStringList out;
    for (const Dialogs::Shown &s : Dialogs::takeLog())
        out << (s.kind == QLatin1String("message") ? describe(s) : s.kind);
    return out;
}

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

enum class Path { Empty, NewFile, ExistingLarger, MissingFolder, GoodBackup, RandomBytes };

} // namespace

Q_DECLARE_METATYPE(Path)

class TestBackupWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void copyFailureShowsTheSystemText_data();
    void copyFailureShowsTheSystemText();
    void copyLetsTheInterfaceRun();
    void backupAndRestore_data();
    void backupAndRestore();
    void holdersAndProposedName();
    void fileDialogsShareOneName();
    void everyWayOutEndsTheProgram();
    void noSecondCopyWhileOneRuns();

private:
    int m_ended = 0;
};

void TestBackupWindow::init()
{
    Dialogs::setTestMode(true);
    m_ended = 0;
    ProgramEnd::setHandler([this] { ++m_ended; });
}

void TestBackupWindow::cleanup()
{
    ProgramEnd::setHandler({});
    Clock::setFixed(QDateTime());
    Dialogs::setTestMode(false);
}

void TestBackupWindow::copyFailureShowsTheSystemText_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("system");

    QTest::newRow("unreadable source") << "missing.mdb"
                                       << "copy.mdbB" << systemText(ENOENT);
    QTest::newRow("unwritable destination") << "DBres.mdb"
                                            << "gone/copy.mdbB" << systemText(ENOENT);
}

void TestBackupWindow::copyFailureShowsTheSystemText()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(QString, system);

    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("DBres.mdb")), randomBytes(100));
    QVERIFY(!CopyBackupFile(dir.filePath(source), dir.filePath(destination)));
    QCOMPARE(takeMessages(),
        QStringList { box(Text::title, Dialogs::Icon::Critical, QMessageBox::Ok, Text::copyFailed + system) });
}

void TestBackupWindow::copyLetsTheInterfaceRun()
{
    QTemporaryDir dir;
    const QByteArray bytes = randomBytes(3 * 4048);
    writeFile(dir.filePath(QStringLiteral("DBres.mdb")), bytes);
    bool ran = false;
    QMetaObject::invokeMethod(
        this, [&] { ran = true; }, Qt::QueuedConnection);
    QVERIFY(CopyBackupFile(dir.filePath(QStringLiteral("DBres.mdb")), dir.filePath(QStringLiteral("copy.mdbB"))));
    QVERIFY(ran);
    QVERIFY(readFile(dir.filePath(QStringLiteral("copy.mdbB"))) == bytes);
    QCOMPARE(takeMessages(), QStringList());
}

void TestBackupWindow::backupAndRestore_data()
{
    QTest::addColumn<bool>("restoring");
    QTest::addColumn<Path>("path");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("ended");

    const auto yesNo = QMessageBox::Yes | QMessageBox::No;
    const QString replace = box(Text::title, Dialogs::Icon::None, yesNo, Text::replaceQuestion);
    const QString ask = box(Text::title, Dialogs::Icon::None, yesNo, Text::restoreQuestion);
    const QString backedUp = box(Text::title, Dialogs::Icon::None, QMessageBox::Ok, Text::backupDone);
    const QString restored = box(Text::title, Dialogs::Icon::None, QMessageBox::Ok, Text::restoreDone);

    QTest::newRow("backup, empty path") << false << Path::Empty << 0
                                        << QStringList { box(Text::error, Dialogs::Icon::Warning, QMessageBox::Ok,
                                               Text::backupPathEmpty) }
                                        << false;
    QTest::newRow("backup to a new file") << false << Path::NewFile << 0 << QStringList { backedUp } << true;
    QTest::newRow("backup over a larger file, Yes")
        << false << Path::ExistingLarger << int(QMessageBox::Yes) << QStringList { replace, backedUp } << true;
    QTest::newRow("backup over a file, No")
        << false << Path::ExistingLarger << int(QMessageBox::No)
        << QStringList { replace, box(Text::title, Dialogs::Icon::Information, QMessageBox::Ok, Text::backupNotDone) }
        << false;
    QTest::newRow("backup into a missing folder") << false << Path::MissingFolder << 0
                                                  << QStringList { box(Text::title, Dialogs::Icon::Critical,
                                                         QMessageBox::Ok, Text::copyFailed + systemText(ENOENT)) }
                                                  << false;
    QTest::newRow("restore, empty path") << true << Path::Empty << 0
                                         << QStringList { box(Text::error, Dialogs::Icon::Warning, QMessageBox::Ok,
                                                Text::restorePathEmpty) }
                                         << false;
    QTest::newRow("restore, No") << true << Path::GoodBackup << int(QMessageBox::No)
                                 << QStringList { ask,
                                        box(Text::title, Dialogs::Icon::None, QMessageBox::Ok, Text::restoreNotDone) }
                                 << false;
    QTest::newRow("restore a good backup")
        << true << Path::GoodBackup << int(QMessageBox::Yes) << QStringList { ask, restored } << true;
    QTest::newRow("restore random bytes") << true << Path::RandomBytes << int(QMessageBox::Yes)
                                          << QStringList { ask, QStringLiteral("refused") } << false;
}

void TestBackupWindow::backupAndRestore()
{
    QFETCH(bool, restoring);
    QFETCH(Path, path);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(bool, ended);

    ProgramFolder folder;
    QVERIFY(folder.openAll());
    addExaminee(QStringLiteral("101"), QStringLiteral("Karimi"));
    QString file;
    switch (path) {
    case Path::Empty:
        break;
    case Path::NewFile:
        file = folder.dir.filePath(QStringLiteral("new.mdbB"));
        break;
    case Path::ExistingLarger:
        file = folder.dir.filePath(QStringLiteral("old.mdbB"));
        writeFile(file, randomBytes(QFileInfo(AppPaths::examineeDatabase()).size() * 2));
        break;
    case Path::MissingFolder:
        file = folder.dir.filePath(QStringLiteral("gone/new.mdbB"));
        break;
    case Path::GoodBackup:
        file = folder.dir.filePath(QStringLiteral("good.mdbB"));
        makeGoodBackup(file);
        break;
    case Path::RandomBytes:
        file = folder.dir.filePath(QStringLiteral("noise.mdbB"));
        writeFile(file, randomBytes(9000));
        break;
    }
    const QByteArray database = digest(AppPaths::examineeDatabase());
    const QByteArray chosen = file.isEmpty() ? QByteArray() : digest(file);
    if (answer)
        Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));

    BackupWindow window;
    window.show();
    (restoring ? child<QLineEdit>(&window, "Text2") : child<QLineEdit>(&window, "Text1"))->setText(file);
    restoring ? window.restore() : window.backup();

    QStringList shown = takeMessages();
    if (messages.last() == QLatin1String("refused")) {
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.last().startsWith(box(Text::error, Dialogs::Icon::Warning, QMessageBox::Ok, QString())),
            qPrintable(shown.last()));
        QVERIFY(shown.last().contains(QStringLiteral("\r\nnoise.mdbB: ")));
        shown.removeLast();
        messages.removeLast();
    }
    QCOMPARE(shown, messages);
    QCOMPARE(m_ended, ended ? 1 : 0);

    const bool copied = ended;
    if (copied) // the copy ran with every connection closed
        QVERIFY(!QSqlDatabase::contains(Database::connectionName(Database::File::Examinee)));
    if (restoring)
        QCOMPARE(digest(AppPaths::examineeDatabase()), copied ? chosen : database);
    else {
        QCOMPARE(digest(AppPaths::examineeDatabase()), database);
        if (!file.isEmpty())
            QCOMPARE(digest(file), copied ? database : chosen);
    }
    QVERIFY(child<QPushButton>(&window, "VisualButtonEx2")->isEnabled()
        && child<QPushButton>(&window, "VisualButtonEx3")->isEnabled()
        && child<QPushButton>(&window, "Command1")->isEnabled());
}

void TestBackupWindow::holdersAndProposedName()
{
    Clock::setFixed(QDateTime(QDate(2022, 10, 20), QTime(9, 5))); // 28 Mehr 1401
    BackupWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("Frmbackup"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Back up ...  Reastor"));
    QCOMPARE(window.pos(), QPoint(156, 51));
    QCOMPARE(child<QLabel>(&window, "Label1")->text(), QStringLiteral("1401.7.28"));
    QCOMPARE(child<QLabel>(&window, "Label3")->text(), QStringLiteral("1401.7.28"));
    QCOMPARE(child<QLabel>(&window, "Label2")->text(), QStringLiteral("9.05"));
    QVERIFY(child<QLabel>(&window, "Label1")->isHidden() && child<QLabel>(&window, "Label2")->isHidden()
        && child<QLabel>(&window, "Label3")->isHidden());
    QCOMPARE(window.proposedName(), Text::example);

    // The clock holder follows the time; the date holders stay as loaded.
    QVERIFY(child<QTimer>(&window, "Timer1")->isActive());
    QCOMPARE(child<QTimer>(&window, "Timer1")->interval(), 1000);
    Clock::setFixed(QDateTime(QDate(2022, 10, 21), QTime(10, 7)));
    window.clockTick();
    QCOMPARE(child<QLabel>(&window, "Label2")->text(), QStringLiteral("10.07"));
    QCOMPARE(window.proposedName(), Text::example.chopped(10) + QStringLiteral("10.07).mdbB"));
}

void TestBackupWindow::fileDialogsShareOneName()
{
    ProgramFolder folder;
    Clock::setFixed(QDateTime(QDate(2022, 10, 20), QTime(9, 5)));
    BackupWindow window;
    const QString back = AppPaths::backupDir();
    const QString filter = QStringLiteral("Database Backup (*.mdbB)");

    // Cancelled save dialog: the proposed name, without folder.
    window.chooseBackupFile();
    QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].kind, QStringLiteral("save"));
    QCOMPARE(log[0].dir, QDir(back).filePath(Text::example));
    QCOMPARE(log[0].filter, filter);
    QCOMPARE(child<QLineEdit>(&window, "Text1")->text(), Text::example);

    // The open dialog starts in Back; cancelled, it leaves the last name.
    window.chooseRestoreFile();
    log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].kind, QStringLiteral("open"));
    QCOMPARE(log[0].dir, back);
    QCOMPARE(log[0].filter, filter);
    QCOMPARE(child<QLineEdit>(&window, "Text2")->text(), Text::example);

    const QString chosen = QDir(back).filePath(QStringLiteral("clinic.mdbB"));
    Dialogs::setNextFile(chosen);
    window.chooseRestoreFile();
    QCOMPARE(child<QLineEdit>(&window, "Text2")->text(), chosen);
    Dialogs::setNextFile(QDir(back).filePath(QStringLiteral("today.mdbB")));
    window.chooseBackupFile();
    QCOMPARE(child<QLineEdit>(&window, "Text1")->text(), QDir(back).filePath(QStringLiteral("today.mdbB")));
    QCOMPARE(child<QLineEdit>(&window, "Text2")->text(), chosen);
}

void TestBackupWindow::everyWayOutEndsTheProgram()
{
    BackupWindow window;
    window.show();
    QTest::mouseClick(child<QPushButton>(&window, "Command1"), Qt::LeftButton);
    QCOMPARE(m_ended, 1);
    window.close();
    QCOMPARE(m_ended, 2);
}

void TestBackupWindow::noSecondCopyWhileOneRuns()
{
    ProgramFolder folder;
    QVERIFY(folder.openAll());
    BackupWindow window;
    window.show();
    child<QLineEdit>(&window, "Text1")->setText(folder.dir.filePath(QStringLiteral("one.mdbB")));
    child<QLineEdit>(&window, "Text2")->setText(folder.dir.filePath(QStringLiteral("one.mdbB")));

    bool ranDuringCopy = false;
    QMetaObject::invokeMethod(
        this,
        [&] {
            ranDuringCopy = window.copying();
            QVERIFY(!child<QPushButton>(&window, "VisualButtonEx2")->isEnabled()
                && !child<QPushButton>(&window, "VisualButtonEx3")->isEnabled());
            QVERIFY(!child<QPushButton>(&window, "b1")->isEnabled() && !child<QPushButton>(&window, "b2")->isEnabled()
                && !child<QPushButton>(&window, "Command1")->isEnabled());
            window.backup();
            window.restore();
            window.close(); // waits for the copy
            QVERIFY(window.isVisible());
        },
        Qt::QueuedConnection);
    window.backup();
    QVERIFY(ranDuringCopy);
    QCOMPARE(takeMessages(), QStringList { box(Text::title, Dialogs::Icon::None, QMessageBox::Ok, Text::backupDone) });
    QCOMPARE(m_ended, 1);
}

QTEST_MAIN(TestBackupWindow)
#include "tst_backupwindow.moc"
