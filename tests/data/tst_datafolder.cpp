#include "data/AppPaths.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {

const QStringList kDataFiles = { QStringLiteral("DBres.mdb"), QStringLiteral("Theme.skn"), QStringLiteral(".jpg") };

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

/// Every file below \a dir with its bytes and time stamp: equal snapshots
/// mean nothing was written, replaced or added.
QMap<QString, QString> snapshot(const QString &dir)
{
    QMap<QString, QString> files;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString hash = info.isDir()
            ? QStringLiteral("dir")
            : QString::fromLatin1(
                QCryptographicHash::hash(readFile(info.filePath()), QCryptographicHash::Sha256).toHex());
        files.insert(QDir(dir).relativeFilePath(info.filePath()),
            hash + QLatin1Char(' ') + QString::number(info.lastModified().toMSecsSinceEpoch()));
    }
    return files;
}

void addExamineeTo(const QString &path, const QString &code)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO IDE (Code) VALUES (?)"));
        q.addBindValue(code);
        QVERIFY(q.exec());
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

/// A program folder as an installation leaves it: templates/ with the
/// three files, read-only like installed files.
void makeTemplates(const QString &programDir)
{
    const QDir templates(QDir(programDir).filePath(QStringLiteral("templates")));
    QVERIFY(QDir().mkpath(templates.path()));
    QVector<Schema::NormsRow> norms;
    for (int raw = 5; raw <= 36; ++raw)
        norms.append(
            { QString::number(raw), QStringList(6, QString::number(60 + raw)), QStringList(6, QString::number(raw)) });
    QString error;
    QVERIFY2(
        Schema::createExamineeFile(templates.filePath(QStringLiteral("DBres.mdb")), norms, &error), qPrintable(error));
    QVERIFY2(Schema::createThemeFile(templates.filePath(QStringLiteral("Theme.skn")), &error), qPrintable(error));
    writeFile(templates.filePath(QStringLiteral(".jpg")), "template logo");
    for (const QString &name : kDataFiles)
        QVERIFY(
            QFile::setPermissions(templates.filePath(name), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
}

/// Data of an earlier start in \a dir: the templates' files with one
/// examinee, a logo of the clinic's own and optionally a backup.
void makeOldData(const QString &dir, bool examinee, bool backup)
{
    const QDir d(dir);
    for (const QString &name : kDataFiles)
        QVERIFY(QFile::copy(d.filePath(QStringLiteral("templates/") + name), d.filePath(name)));
    for (const QString &name : kDataFiles)
        QVERIFY(QFile::setPermissions(d.filePath(name), QFile::ReadOwner | QFile::WriteOwner));
    if (examinee)
        addExamineeTo(d.filePath(QStringLiteral("DBres.mdb")), QStringLiteral("41"));
    writeFile(d.filePath(QStringLiteral(".jpg")), "clinic logo");
    QVERIFY(d.mkpath(QStringLiteral("Back")));
    if (backup)
        writeFile(d.filePath(QStringLiteral("Back/old.mdbB")), "a backup");
}

void restoreWritable(const QString &dir)
{
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

struct Asked
{
    int count = 0;
    QString oldDir;
    QString dataDir;
    bool answer = false;

    DataFolder::AskCopyOldData asker()
    {
        return [this](const QString &from, const QString &to) {
            ++count;
            oldDir = from;
            dataDir = to;
            return answer;
        };
    }
};

} // namespace

class TestDataFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void portableFolderKeepsItsData_data();
    void portableFolderKeepsItsData();
    void installedFolderStartsFromTemplates_data();
    void installedFolderStartsFromTemplates();
    void oldProgramFolderDataIsCopiedOnlyWhenAsked_data();
    void oldProgramFolderDataIsCopiedOnlyWhenAsked();
    void missingTemplateIsNamed();
    void strayJournalIsNotPlayedIntoANewFile();

private:
    QByteArray m_xdg = qgetenv("XDG_DATA_HOME");
    QByteArray m_home = qgetenv("HOME");
};

void TestDataFolder::cleanup()
{
    Database::closeAll();
    AppPaths::setProgramDir(QString());
    qputenv("XDG_DATA_HOME", m_xdg);
    qputenv("HOME", m_home);
}

void TestDataFolder::portableFolderKeepsItsData_data()
{
    QTest::addColumn<bool>("withData");
    QTest::newRow("writable folder with data") << true;
    QTest::newRow("new portable folder") << false;
}

void TestDataFolder::portableFolderKeepsItsData()
{
    QFETCH(bool, withData);
    QTemporaryDir tmp;
    const QString program = tmp.filePath(QStringLiteral("program"));
    const QString user = tmp.filePath(QStringLiteral("user"));
    makeTemplates(program);
    writeFile(QDir(program).filePath(QStringLiteral("Pelorin.portable")), "");
    if (withData)
        makeOldData(program, true, true);
    const auto before = snapshot(program);

    Asked asked;
    DataFolder::Result result;
    QString error;
    QVERIFY2(DataFolder::prepare(program, user, asked.asker(), &result, &error), qPrintable(error));
    QCOMPARE(result.dir, program);
    QVERIFY(result.portable);
    QCOMPARE(asked.count, 0);
    QVERIFY(!QFileInfo::exists(user));
    if (withData) {
        QCOMPARE(snapshot(program), before);
        QVERIFY(!result.createdFiles);
    } else {
        for (const QString &name : kDataFiles)
            QCOMPARE(readFile(QDir(program).filePath(name)),
                readFile(QDir(program).filePath(QStringLiteral("templates/") + name)));
        QVERIFY(QFileInfo(QDir(program).filePath(QStringLiteral("Back"))).isDir());
    }
}

void TestDataFolder::installedFolderStartsFromTemplates_data()
{
    QTest::addColumn<bool>("xdgDataHome");
    QTest::newRow("XDG_DATA_HOME set") << true;
    QTest::newRow("HOME only") << false;
}

void TestDataFolder::installedFolderStartsFromTemplates()
{
    QFETCH(bool, xdgDataHome);
    QTemporaryDir tmp;
    const QString program = tmp.filePath(QStringLiteral("opt/pelorin"));
    makeTemplates(program);
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const auto installed = snapshot(program);
    QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("home"))));
    qputenv("HOME", tmp.filePath(QStringLiteral("home")).toLocal8Bit());
    if (xdgDataHome)
        qputenv("XDG_DATA_HOME", tmp.filePath(QStringLiteral("xdg")).toLocal8Bit());
    else
        qunsetenv("XDG_DATA_HOME");
    const QString user = xdgDataHome ? tmp.filePath(QStringLiteral("xdg/Pelorin"))
                                     : tmp.filePath(QStringLiteral("home/.local/share/Pelorin"));

    // First start: the per-user folder is made from the templates.
    AppPaths::setProgramDir(program);
    AppPaths::setDataDir(QString());
    QCOMPARE(AppPaths::userDataDir(), user);
    Asked asked;
    QString error;
    QVERIFY2(DataFolder::prepareForStart(asked.asker(), &error), qPrintable(error));
    QCOMPARE(AppPaths::dataDir(), user);
    QCOMPARE(AppPaths::examineeDatabase(), user + QStringLiteral("/DBres.mdb"));
    QCOMPARE(AppPaths::backupDir(), user + QStringLiteral("/Back"));
    QCOMPARE(AppPaths::contentDir(), program + QStringLiteral("/content"));
    QCOMPARE(asked.count, 0);
    for (const QString &name : kDataFiles) {
        const QString file = QDir(user).filePath(name);
        QCOMPARE(readFile(file), readFile(QDir(program).filePath(QStringLiteral("templates/") + name)));
        QVERIFY2(QFileInfo(file).permissions() & QFile::WriteOwner, qPrintable(file));
    }
    QVERIFY(QFileInfo(QDir(user).filePath(QStringLiteral("Back"))).isDir());
    QCOMPARE(snapshot(program), installed);

    // The copies are real, writable databases.
    QVERIFY2(Database::open(Database::File::Examinee, &error), qPrintable(error));
    QVERIFY2(Database::open(Database::File::Theme, &error), qPrintable(error));
    Database::closeAll();
    addExamineeTo(AppPaths::examineeDatabase(), QStringLiteral("7"));
    writeFile(AppPaths::logoFile(), "picked logo");

    // Second start: the same folder, not touched.
    const auto used = snapshot(user);
    AppPaths::setDataDir(QString());
    DataFolder::Result result;
    QVERIFY2(DataFolder::prepare(program, AppPaths::userDataDir(), asked.asker(), &result, &error), qPrintable(error));
    QCOMPARE(result.dir, user);
    QVERIFY(!result.createdFiles);
    QCOMPARE(asked.count, 0);
    QCOMPARE(snapshot(user), used);
    QCOMPARE(snapshot(program), installed);
    restoreWritable(program);
}

void TestDataFolder::oldProgramFolderDataIsCopiedOnlyWhenAsked_data()
{
    QTest::addColumn<bool>("examinee");
    QTest::addColumn<bool>("backup");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asks");
    QTest::newRow("examinees, yes") << true << false << true << true;
    QTest::newRow("examinees, no") << true << true << false << true;
    QTest::newRow("backups only, yes") << false << true << true << true;
    QTest::newRow("nothing entered yet") << false << false << true << false;
}

void TestDataFolder::oldProgramFolderDataIsCopiedOnlyWhenAsked()
{
    QFETCH(bool, examinee);
    QFETCH(bool, backup);
    QFETCH(bool, answer);
    QFETCH(bool, asks);
    QTemporaryDir tmp;
    const QString program = tmp.filePath(QStringLiteral("build/program"));
    const QString user = tmp.filePath(QStringLiteral("user/Pelorin"));
    makeTemplates(program);
    makeOldData(program, examinee, backup);
    const auto old = snapshot(program);

    Asked asked;
    asked.answer = answer;
    DataFolder::Result result;
    QString error;
    QVERIFY2(DataFolder::prepare(program, user, asked.asker(), &result, &error), qPrintable(error));
    QCOMPARE(result.dir, user);
    QCOMPARE(asked.count, asks ? 1 : 0);
    if (asks) {
        QCOMPARE(asked.oldDir, program);
        QCOMPARE(asked.dataDir, user);
    }
    const bool copied = asks && answer;
    QCOMPARE(result.copiedOldData, copied);
    const QString source = copied ? program : program + QStringLiteral("/templates");
    for (const QString &name : kDataFiles)
        QCOMPARE(readFile(QDir(user).filePath(name)), readFile(QDir(source).filePath(name)));
    QCOMPARE(QFileInfo::exists(QDir(user).filePath(QStringLiteral("Back/old.mdbB"))), copied && backup);
    QCOMPARE(snapshot(program), old); // the old files stay where they are

    // Asked once: the next start finds the user folder and asks nothing.
    QVERIFY(DataFolder::prepare(program, user, asked.asker(), &result, &error));
    QCOMPARE(asked.count, asks ? 1 : 0);
}

void TestDataFolder::missingTemplateIsNamed()
{
    QTemporaryDir tmp;
    const QString program = tmp.filePath(QStringLiteral("program"));
    const QString user = tmp.filePath(QStringLiteral("user"));
    makeTemplates(program);
    QVERIFY(QFile::remove(QDir(program).filePath(QStringLiteral("templates/DBres.mdb"))));
    DataFolder::Result result;
    QString error;
    QVERIFY(!DataFolder::prepare(program, user, {}, &result, &error));
    QVERIFY2(error.contains(QStringLiteral("templates/DBres.mdb")), qPrintable(error));
    QVERIFY(!QFileInfo::exists(QDir(user).filePath(QStringLiteral("DBres.mdb"))));
}

void TestDataFolder::strayJournalIsNotPlayedIntoANewFile()
{
    QTemporaryDir tmp;
    const QString program = tmp.filePath(QStringLiteral("program"));
    const QString user = tmp.filePath(QStringLiteral("user"));
    makeTemplates(program);
    QVERIFY(QDir().mkpath(user));
    writeFile(QDir(user).filePath(QStringLiteral("DBres.mdb-journal")), QByteArray(4096, 'j'));
    DataFolder::Result result;
    QString error;
    QVERIFY2(DataFolder::prepare(program, user, {}, &result, &error), qPrintable(error));
    QVERIFY(!QFileInfo::exists(QDir(user).filePath(QStringLiteral("DBres.mdb-journal"))));
    QCOMPARE(readFile(QDir(user).filePath(QStringLiteral("DBres.mdb"))),
        readFile(QDir(program).filePath(QStringLiteral("templates/DBres.mdb"))));
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
