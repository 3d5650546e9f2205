// The installed layout and the Debian package, made from this build: a
// staged install (DESTDIR) must put every file under the staging folder, the
// menu files must pass Debian's validators, and the package lintian.

#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {

const QString kAppId = QStringLiteral("io.github.pelorin.Pelorin");

struct Run
{
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &args,
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Run r;
    if (!p.waitForStarted() || !p.waitForFinished(400000)) {
        r.output = program + QStringLiteral(": ") + p.errorString();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromLocal8Bit(p.readAll());
    return r;
}

int countRows(const QString &path, const QString &table)
{
    const QString name = QUuid::createUuid().toString();
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && q.next())
                count = q.value(0).toInt();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return count;
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stagedInstallStaysUnderDestdir();
    void installedFiles_data();
    void installedFiles();
    void templatesAreFreshDatabases();
    void menuFilesPassTheValidators_data();
    void menuFilesPassTheValidators();
    void debianPackage();

private:
    QTemporaryDir m_tmp;
    QString m_prefix; ///< the prefix given to the install, never written
    QString m_root; ///< DESTDIR + prefix
};

void TestPackage::initTestCase()
{
    m_prefix = m_tmp.filePath(QStringLiteral("prefix"));
    const QString stage = m_tmp.filePath(QStringLiteral("stage"));
    m_root = QDir::cleanPath(stage + m_prefix);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), stage);
    const Run r = run(QStringLiteral(PELORIN_CMAKE),
        { QStringLiteral("--install"), QStringLiteral(PELORIN_BINARY_DIR), QStringLiteral("--prefix"), m_prefix }, env);
    QVERIFY2(r.exitCode == 0, qPrintable(r.output));
}

void TestPackage::stagedInstallStaysUnderDestdir()
{
    QVERIFY2(!QFileInfo::exists(m_prefix), "the install wrote into the real prefix");
    // The manifest names each file at its final place (without DESTDIR).
    QFile manifest(QStringLiteral(PELORIN_BINARY_DIR "/install_manifest.txt"));
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    const QString stage = m_tmp.filePath(QStringLiteral("stage"));
    QSet<QString> listed;
    for (const QByteArray &line : manifest.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QString path = QDir::cleanPath(QString::fromLocal8Bit(line));
        QVERIFY2(path.startsWith(m_prefix + QLatin1Char('/')), qPrintable(path));
        listed.insert(QDir::cleanPath(stage + path));
    }
    QDirIterator it(stage, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    QSet<QString> found;
    while (it.hasNext())
        found.insert(QDir::cleanPath(it.next()));
    const QStringList unlisted = (found - listed).values(); // written, but not owned by the install
    const QStringList missing = (listed - found).values(); // owned, but not staged
    QVERIFY2(unlisted.isEmpty(), qPrintable(unlisted.join(QLatin1Char('\n'))));
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
}

void TestPackage::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("installed");
    for (const char *file : { "opt/pelorin/Pelorin", "opt/pelorin/Pelorinupdate", "opt/pelorin/content/manifest.json",
             "opt/pelorin/content/answer_form.png", "opt/pelorin/content/items/item36.png",
             "opt/pelorin/templates/DBres.mdb", "opt/pelorin/templates/Theme.skn", "opt/pelorin/templates/.jpg",
             "usr/share/applications/io.github.pelorin.Pelorin.desktop",
             "usr/share/metainfo/io.github.pelorin.Pelorin.metainfo.xml", "usr/share/doc/pelorin/copyright",
             "usr/share/doc/pelorin/changelog.gz" })
        QTest::newRow(file) << QString::fromLatin1(file) << true;
    // Data is made per user at the first start, never installed.
    for (const char *file : { "opt/pelorin/DBres.mdb", "opt/pelorin/Theme.skn", "opt/pelorin/.jpg", "opt/pelorin/Back",
             "opt/pelorin/Pelorin.portable" })
        QTest::newRow(file) << QString::fromLatin1(file) << false;
}

void TestPackage::installedFiles()
{
    QFETCH(QString, path);
    QFETCH(bool, installed);
    QCOMPARE(QFileInfo::exists(QDir(m_root).filePath(path)), installed);
}

void TestPackage::templatesAreFreshDatabases()
{
    const QDir templates(QDir(m_root).filePath(QStringLiteral("opt/pelorin/templates")));
    QCOMPARE(countRows(templates.filePath(QStringLiteral("DBres.mdb")), QStringLiteral("PPP")), 32); // raw 5..36
    QCOMPARE(countRows(templates.filePath(QStringLiteral("DBres.mdb")), QStringLiteral("IDE")), 0);
    QCOMPARE(countRows(templates.filePath(QStringLiteral("Theme.skn")), QStringLiteral("Theme")), 1);
    QVERIFY(!QImageReader(templates.filePath(QStringLiteral(".jpg"))).read().isNull());
    for (const QString &name : templates.entryList(QDir::Files | QDir::Hidden)) {
        const QFile::Permissions p = QFileInfo(templates.filePath(name)).permissions();
        QVERIFY2((p & QFile::ReadOther) && !(p & (QFile::WriteGroup | QFile::WriteOther)), qPrintable(name));
    }
    // The command on the path starts the program in its folder.
    const QFileInfo link(QDir(m_root).filePath(QStringLiteral("usr/bin/pelorin")));
    QVERIFY(link.isSymLink());
    QCOMPARE(link.symLinkTarget(), m_prefix + QStringLiteral("/opt/pelorin/Pelorin"));
    for (int size : { 48, 128, 256 }) {
        const QString icon
            = QDir(m_root).filePath(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/pelorin.png").arg(size));
        QCOMPARE(QImageReader(icon).size(), QSize(size, size));
    }
}

void TestPackage::menuFilesPassTheValidators_data()
{
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop entry") << QStringLiteral("desktop-file-validate") << QStringList()
                                   << QStringLiteral("usr/share/applications/%1.desktop").arg(kAppId);
    QTest::newRow("metainfo") << QStringLiteral("appstreamcli")
                              << QStringList { QStringLiteral("validate"), QStringLiteral("--no-net") }
                              << QStringLiteral("usr/share/metainfo/%1.metainfo.xml").arg(kAppId);
}

void TestPackage::menuFilesPassTheValidators()
{
    QFETCH(QString, validator);
    QFETCH(QStringList, args);
    QFETCH(QString, file);
    const QString program = QStandardPaths::findExecutable(validator);
    if (program.isEmpty())
        QSKIP(qPrintable(validator + QStringLiteral(" is not installed")));
    const Run r = run(program, args << QDir(m_root).filePath(file));
    QVERIFY2(r.exitCode == 0, qPrintable(r.output));
    if (validator == QLatin1String("desktop-file-validate")) // it warns with exit code 0
        QVERIFY2(r.output.trimmed().isEmpty(), qPrintable(r.output));
}

void TestPackage::debianPackage()
{
    const QString dpkg = QStandardPaths::findExecutable(QStringLiteral("dpkg"));
    if (dpkg.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("dpkg-shlibdeps")).isEmpty())
        QSKIP("dpkg-dev is not installed");
    const QString out = m_tmp.filePath(QStringLiteral("deb"));
    Run r = run(QStringLiteral(PELORIN_CPACK),
        { QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
            QStringLiteral(PELORIN_BINARY_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), out });
    QVERIFY2(r.exitCode == 0, qPrintable(r.output));
    const QString arch = run(dpkg, { QStringLiteral("--print-architecture") }).output.trimmed();
    const QString deb = QDir(out).filePath(QStringLiteral("pelorin_2.3_%1.deb").arg(arch));
    QVERIFY2(QFileInfo::exists(deb), qPrintable(r.output));

    const auto field = [&](const char *name) {
        return run(QStringLiteral("dpkg-deb"), { QStringLiteral("-f"), deb, QString::fromLatin1(name) })
            .output.trimmed();
    };
    QCOMPARE(field("Package"), QStringLiteral("pelorin"));
    QCOMPARE(field("Version"), QStringLiteral("2.3"));
    QCOMPARE(field("Section"), QStringLiteral("education"));
    QVERIFY(field("Maintainer").contains(QLatin1Char('@')));
    QVERIFY(field("Description").count(QLatin1Char('\n')) >= 3); // a short and a long description
    const QString depends = field("Depends");
    for (const char *package : { "libqt6widgets6", "libqt6sql6", "libqt6sql6-sqlite", "libcurl4", "libsqlite3-0",
             "libc6", "fonts-farsiweb", "fonts-liberation2", "fonts-crosextra-carlito" })
        QVERIFY2(depends.contains(QString::fromLatin1(package)), qPrintable(depends));

    const QString contents = run(QStringLiteral("dpkg-deb"), { QStringLiteral("-c"), deb }).output;
    QVERIFY(contents.contains(QStringLiteral("./opt/pelorin/Pelorin\n")));
    QVERIFY(contents.contains(QStringLiteral("./opt/pelorin/templates/DBres.mdb\n")));
    QVERIFY(contents.contains(QStringLiteral("./usr/bin/pelorin -> /opt/pelorin/Pelorin\n")));
    QVERIFY(!contents.contains(QStringLiteral("./opt/pelorin/DBres.mdb")));

    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    if (lintian.isEmpty())
        QSKIP("lintian is not installed");
    r = run(lintian, { QStringLiteral("--fail-on"), QStringLiteral("error"), deb });
    QVERIFY2(r.exitCode == 0, qPrintable(r.output));
    QVERIFY2(!r.output.contains(QStringLiteral("E: ")), qPrintable(r.output));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
