#include "data/Schema.h"
#include "test/content/ContentInUse.h"
#include "test/content/ContentPack.h"
#include "test/content/PackCheck.h"
#include "test/content/PackInstall.h"
#include "test/content/TestContent.h"
#include "test/content/Zip.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const QString ShippedDir = QStringLiteral(PELORIN_CONTENT_DIR);
const QString Tool = QStringLiteral(PELORIN_CONTENT_EXE);

using Breakage = std::function<void(ContentPack &)>;

// The shipped content/ as a pack, with the fields a pack carries.
ContentPack shippedPack()
{
    ContentPack pack;
    QString error;
    if (!pack.loadFolder(ShippedDir, &error))
        qFatal("%s", qPrintable(error));
    QJsonObject m = pack.manifest();
    m.insert("name", "Clinic set");
    m.insert("contentVersion", "2.0");
    m.insert("created", "2026-12-11T10:00:00Z");
    pack.setManifest(m);
    return pack;
}

void editItem(ContentPack &pack, int number, const std::function<void(QJsonObject &)> &edit)
{
    QJsonObject m = pack.manifest();
    QJsonArray items = m.value("items").toArray();
    QJsonObject item = items.at(number - 1).toObject();
    edit(item);
    items.replace(number - 1, item);
    m.insert("items", items);
    pack.setManifest(m);
}

void editNorms(ContentPack &pack, const std::function<void(QVector<QStringList> &)> &edit)
{
    QVector<QStringList> table = PackCheck::parseTable(QString::fromUtf8(pack.file("norms.csv")));
    edit(table);
    QStringList lines;
    for (const QStringList &row : table)
        lines.append(row.join(','));
    pack.setFile("norms.csv", (lines.join('\n') + '\n').toUtf8());
}

// Row of raw score \a raw in the norms table (header is row 0, raw 5 row 1).
int rowOf(int raw)
{
    return raw - 4;
}

QStringList errorsOf(const QVector<PackFault> &faults, PackFault::Severity severity)
{
    QStringList out;
    for (const PackFault &f : faults) {
        if (f.severity == severity)
            out.append(f.text);
    }
    return out;
}

int runTool(const QStringList &args, QString *output = nullptr)
{
    QProcess p;
    p.start(Tool, args);
    p.waitForFinished(60000);
    if (output)
        *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestContentPack : public QObject
{
    Q_OBJECT

private slots:
    void shippedContentPasses();
    void brokenPackNamesItsFault_data();
    void brokenPackNamesItsFault();
    void normsWarnings_data();
    void normsWarnings();
    void archiveRoundTrip();
    void damagedArchives_data();
    void damagedArchives();
    void fingerprintFollowsEveryByte();
    void toolChecksAndPacks();
    void installReplacesNormsKeepingTheOld();
    void installRefusesABrokenPack();
    void bundledSetComesBack();
};

void TestContentPack::shippedContentPasses()
{
    const QVector<PackFault> faults = PackCheck::check(shippedPack());
    QVERIFY2(faults.isEmpty(), qPrintable(PackCheck::describe(faults).join('\n')));
    // A folder still being prepared needs no name yet; a pack does.
    ContentPack folder;
    QVERIFY(folder.loadFolder(ShippedDir, nullptr));
    QVERIFY(PackCheck::check(folder, PackCheck::Fields::Optional).isEmpty());
    QCOMPARE(errorsOf(PackCheck::check(folder), PackFault::Severity::Error).size(), 3);
}

void TestContentPack::brokenPackNamesItsFault_data()
{
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("cellRaw");
    QTest::addColumn<int>("cellColumn");

    QTest::newRow("missing picture") << Breakage([](ContentPack &p) { p.removeFile("items/item03.png"); })
                                     << "سوال 3: picture: تصوير items/item03.png پيدا نشد" << 0 << 0;
    QTest::newRow("cut picture") << Breakage([](ContentPack &p) {
        const QByteArray whole = p.file("items/item05.png");
        p.setFile("items/item05.png", whole.left(whole.size() / 2));
    }) << "تصوير items/item05.png کامل خوانده نمي شود"
                                 << 0 << 0;
    QTest::newRow("picture of the wrong size")
        << Breakage([](ContentPack &p) { p.setFile("items/item06.png", p.file("items/item06@2x.png")); })
        << "سوال 6: picture: تصوير items/item06.png 1266 x 842 پيکسل است" << 0 << 0;
    QTest::newRow("overlapping options") << Breakage([](ContentPack &p) {
        editItem(p, 2, [](QJsonObject &item) {
            QJsonArray options = item.value("options").toArray();
            QJsonArray second = options.at(1).toArray();
            second.replace(0, options.at(0).toArray().at(0).toInt() + 600);
            options.replace(1, second);
            item.insert("options", options);
        });
    }) << "سوال 2: گزينه 2: با گزينه 1 همپوشاني دارد"
                                         << 0 << 0;
    QTest::newRow("key of 7") << Breakage(
        [](ContentPack &p) { editItem(p, 4, [](QJsonObject &item) { item.insert("key", 7); }); })
                              << "سوال 4: کليد 7 خارج از 1 تا 6" << 0 << 0;
    QTest::newRow("missing raw score") << Breakage(
        [](ContentPack &p) { editNorms(p, [](QVector<QStringList> &t) { t.remove(rowOf(20)); }); })
                                       << "نرم ها: نمره خام 20 نيامده است" << 20 << 0;
    QTest::newRow("non-numeric cell") << Breakage(
        [](ContentPack &p) { editNorms(p, [](QVector<QStringList> &t) { t[rowOf(10)][8] = "x"; }); })
                                      << "نرم ها: نمره خام 10، ستون 6p: «x» عدد نيست" << 10 << 8;
    QTest::newRow("falling IQ") << Breakage([](ContentPack &p) {
        editNorms(p, [](QVector<QStringList> &t) { t[rowOf(15)][1] = QString::number(t[rowOf(14)][1].toInt() - 1); });
    })
                                << "نرم ها: نمره خام 15، ستون 5:" << 15 << 1;
    QTest::newRow("IQ out of range") << Breakage(
        [](ContentPack &p) { editNorms(p, [](QVector<QStringList> &t) { t[rowOf(36)][1] = "170"; }); })
                                     << "نرم ها: نمره خام 36، ستون 5: 170 خارج از 20 تا 160" << 36 << 1;
    QTest::newRow("percentile of 100") << Breakage(
        [](ContentPack &p) { editNorms(p, [](QVector<QStringList> &t) { t[rowOf(36)][7] = "100"; }); })
                                       << "نرم ها: نمره خام 36، ستون 5p: 100 خارج از 1 تا 99" << 36 << 7;
    QTest::newRow("name missing") << Breakage([](ContentPack &p) {
        QJsonObject m = p.manifest();
        m.remove("name");
        p.setManifest(m);
    }) << "manifest.json: name نيامده است"
                                  << 0 << 0;
    QTest::newRow("file outside the pack") << Breakage([](ContentPack &p) {
        editItem(p, 9, [](QJsonObject &item) { item.insert("picture2x", "../../etc/passwd.png"); });
    }) << "manifest.json: ../../etc/passwd.png بيرون از بسته است"
                                           << 0 << 0;
}

void TestContentPack::brokenPackNamesItsFault()
{
    QFETCH(Breakage, breakage);
    QFETCH(QString, fault);
    QFETCH(int, cellRaw);
    QFETCH(int, cellColumn);
    ContentPack pack = shippedPack();
    breakage(pack);
    const QVector<PackFault> faults = PackCheck::check(pack);
    QVERIFY(PackCheck::hasErrors(faults));
    const QStringList errors = errorsOf(faults, PackFault::Severity::Error);
    const auto found = std::find_if(
        faults.cbegin(), faults.cend(), [&](const PackFault &f) { return f.isError() && f.text.contains(fault); });
    QVERIFY2(found != faults.cend(), qPrintable(errors.join('\n')));
    QCOMPARE(found->rawScore, cellRaw);
    // One fault is reported once, even where two checks find it.
    QCOMPARE(errors.count(found->text), 1);
    QCOMPARE(std::count_if(errors.cbegin(), errors.cend(), [&](const QString &e) { return e.contains(fault); }), 1);
    QCOMPARE(found->column, cellColumn);
}

void TestContentPack::normsWarnings_data()
{
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<QString>("warning");

    QTest::newRow("IQ rising with age") << Breakage([](ContentPack &p) {
        // Age 5's IQ at the lowest raw score put below age 6's 70.
        editNorms(p, [](QVector<QStringList> &t) { t[rowOf(5)][1] = "69"; });
    }) << "نرم ها: نمره خام 5، ستون 6: هوشبهر 70 از 69 در سن 5 بيشتر است";
    QTest::newRow("percentile off the curve") << Breakage([](ContentPack &p) {
        // IQ 100 sits at the 50th percentile; 40 is 10 away.
        editNorms(p, [](QVector<QStringList> &t) {
            for (int raw = 5; raw <= 36; ++raw) {
                t[rowOf(raw)][1] = QString::number(raw <= 20 ? 80 : 100);
                t[rowOf(raw)][7] = QString::number(raw <= 20 ? 9 : 40);
            }
        });
    }) << "نرم ها: نمره خام 21، ستون 5p: رتبه درصدي 40 با هوشبهر 100 نمي خواند (زير منحني بهنجار 50.0)";
}

void TestContentPack::normsWarnings()
{
    QFETCH(Breakage, breakage);
    QFETCH(QString, warning);
    ContentPack pack = shippedPack();
    breakage(pack);
    const QVector<PackFault> faults = PackCheck::check(pack);
    QVERIFY2(!PackCheck::hasErrors(faults), qPrintable(PackCheck::describe(faults).join('\n')));
    const QStringList warnings = errorsOf(faults, PackFault::Severity::Warning);
    QVERIFY2(std::any_of(warnings.cbegin(), warnings.cend(), [&](const QString &w) { return w.contains(warning); }),
        qPrintable(warnings.join('\n')));
}

void TestContentPack::archiveRoundTrip()
{
    const ContentPack pack = shippedPack();
    QTemporaryDir dir;
    const QString path = dir.filePath("clinic.pelorin-content");
    QVERIFY(pack.saveArchive(path, nullptr));
    ContentPack read;
    QString error;
    QVERIFY2(read.loadArchive(path, &error), qPrintable(error));
    QCOMPARE(read.files(), pack.files());
    QCOMPARE(read.fingerprint(), pack.fingerprint());
    QCOMPARE(read.name(), QStringLiteral("Clinic set"));
    QCOMPARE(read.contentVersion(), QStringLiteral("2.0"));
    // The same pack gives the same bytes, so a rebuilt pack keeps its file name.
    QCOMPARE(read.archiveBytes(), pack.archiveBytes());
    QVERIFY(PackCheck::check(read).isEmpty());
    // Pictures compress poorly and are stored; the manifest is deflated.
    QVERIFY(QFileInfo(path).size() < pack.archiveBytes().size() + 1);
}

void TestContentPack::damagedArchives_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("fault");

    const QByteArray manifest = R"({"version": 1})";
    const QByteArray good = Zip::write({ { "manifest.json", manifest }, { "a.png", QByteArray(4000, 'a') } });
    QByteArray flipped = good;
    flipped[46] = char(flipped[46] ^ 0x55); // inside the stored manifest
    QTest::newRow("flipped byte") << flipped << "CRC";
    QTest::newRow("cut short") << good.left(good.size() / 2) << "not a zip archive";
    QTest::newRow("climbing name") << Zip::write({ { "manifest.json", manifest }, { "../evil.png", "x" } })
                                   << "../evil.png: a name outside the archive";
    QTest::newRow("no manifest") << Zip::write({ { "a.png", "x" } }) << "no manifest.json";
    QTest::newRow("twice") << Zip::write({ { "manifest.json", manifest }, { "manifest.json", manifest } })
                           << "appears twice";
}

void TestContentPack::damagedArchives()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, fault);
    ContentPack pack;
    QString error;
    QVERIFY(!pack.loadArchiveBytes(archive, &error));
    QVERIFY2(error.contains(fault), qPrintable(error));
}

void TestContentPack::fingerprintFollowsEveryByte()
{
    const ContentPack pack = shippedPack();
    const QString print = pack.fingerprint();
    QCOMPARE(print.size(), 64);
    QCOMPARE(pack.shortFingerprint(), print.left(12));
    ContentPack changed = pack;
    QByteArray norms = changed.file("norms.csv");
    norms[norms.size() - 2] = '8';
    changed.setFile("norms.csv", norms);
    QVERIFY(changed.fingerprint() != print);
    // Moving bytes from one file's end to the next file's start changes it too.
    ContentPack a, b;
    a.setFile("manifest.json", "{}");
    a.setFile("x", "ab");
    a.setFile("y", "c");
    b.setFile("manifest.json", "{}");
    b.setFile("x", "a");
    b.setFile("y", "bc");
    QVERIFY(a.fingerprint() != b.fingerprint());
}

void TestContentPack::toolChecksAndPacks()
{
    QTemporaryDir dir;
    const QString packPath = dir.filePath("clinic.pelorin-content");
    QString out;
    QCOMPARE(runTool({ "check", ShippedDir }, &out), 0);
    QCOMPARE(runTool({ "pack", ShippedDir, "-o", packPath, "--name", "Clinic set", "--version", "2.0" }, &out), 0);
    ContentPack built;
    QVERIFY(built.loadArchive(packPath, nullptr));
    QVERIFY2(out.contains(built.shortFingerprint()), qPrintable(out));
    QVERIFY(!built.created().isEmpty());
    QCOMPARE(runTool({ "check", packPath }, &out), 0);
    QVERIFY2(out.contains("Clinic set 2.0 " + built.shortFingerprint()), qPrintable(out));

    // A pack with a fault is not written and the check names it, exit 2.
    QCOMPARE(runTool({ "pack", ShippedDir, "-o", dir.filePath("nameless.pelorin-content") }, &out), 2);
    QVERIFY2(out.contains("error: manifest.json: name نيامده است"), qPrintable(out));
    QVERIFY(!QFile::exists(dir.filePath("nameless.pelorin-content")));

    ContentPack broken = built;
    editItem(broken, 4, [](QJsonObject &item) { item.insert("key", 7); });
    const QString brokenPath = dir.filePath("broken.pelorin-content");
    QVERIFY(broken.saveArchive(brokenPath, nullptr));
    QCOMPARE(runTool({ "check", brokenPath }, &out), 2);
    QVERIFY2(out.contains("error: manifest.json: سوال 4: کليد 7 خارج از 1 تا 6"), qPrintable(out));

    // Warnings alone are printed and pass.
    ContentPack warned = built;
    editNorms(warned, [](QVector<QStringList> &t) { t[rowOf(5)][1] = "69"; });
    const QString warnedPath = dir.filePath("warned.pelorin-content");
    QVERIFY(warned.saveArchive(warnedPath, nullptr));
    QCOMPARE(runTool({ "check", warnedPath }, &out), 0);
    QVERIFY2(out.contains("warning: نرم ها: نمره خام 5، ستون 6: هوشبهر 70 از 69"), qPrintable(out));

    QCOMPARE(runTool({ "frobnicate" }, &out), 2);
    QCOMPARE(runTool({ "check", dir.filePath("none.pelorin-content") }, &out), 2);
}

namespace {

// PPP rows as "code:values" lines, in code order.
QStringList pppRows(const QString &database)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "read-ppp");
        db.setDatabaseName(database);
        if (!db.open())
            return { "cannot open " + database };
        QSqlQuery q("SELECT * FROM PPP ORDER BY CAST(Code AS INTEGER)", db);
        while (q.next()) {
            QStringList cells;
            for (int c = 0; c < 13; ++c)
                cells.append(q.value(c).toString());
            rows.append(cells.join(','));
        }
    }
    QSqlDatabase::removeDatabase("read-ppp");
    return rows;
}

QStringList csvRows(const QByteArray &csv)
{
    QVector<QStringList> table = PackCheck::parseTable(QString::fromUtf8(csv));
    QStringList rows;
    for (int r = 1; r < table.size(); ++r)
        rows.append(table[r].join(','));
    return rows;
}

// A data folder whose PPP holds IQs one below the pack's and one IDE row.
void makeDataFolder(const QString &dir, const QByteArray &packNorms)
{
    QVector<Schema::NormsRow> old;
    const QVector<QStringList> table = PackCheck::parseTable(QString::fromUtf8(packNorms));
    for (int r = 1; r < table.size(); ++r) {
        QStringList iq = table[r].mid(1, 6);
        for (QString &v : iq)
            v = QString::number(v.toInt() - 1);
        old.append({ table[r][0], iq, table[r].mid(7, 6) });
    }
    QString error;
    if (!Schema::createExamineeFile(QDir(dir).filePath("DBres.mdb"), old, &error))
        qFatal("%s", qPrintable(error));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill-ide");
        db.setDatabaseName(QDir(dir).filePath("DBres.mdb"));
        db.open();
        QSqlQuery q(db);
        q.prepare("INSERT INTO IDE (Code, Hooshbahr) VALUES (?, ?)");
        q.addBindValue("1001");
        q.addBindValue("97");
        if (!q.exec())
            qFatal("IDE row not stored");
    }
    QSqlDatabase::removeDatabase("fill-ide");
}

} // namespace

void TestContentPack::installReplacesNormsKeepingTheOld()
{
    QTemporaryDir data;
    const ContentPack pack = shippedPack();
    makeDataFolder(data.path(), pack.file("norms.csv"));
    const QString database = data.filePath("DBres.mdb");
    const QStringList before = pppRows(database);
    QCOMPARE(before.size(), 32);
    QVERIFY(before != csvRows(pack.file("norms.csv")));
    QCOMPARE(PackInstall::activePackDir(data.path()), QString());

    PackInstall::Result result;
    QString error;
    QVERIFY2(PackInstall::install(pack, data.path(), &result, &error), qPrintable(error));
    QCOMPARE(pppRows(database), csvRows(pack.file("norms.csv")));
    QCOMPARE(pppRows(result.safetyCopy), before);
    QVERIFY(result.safetyCopy.startsWith(data.filePath("Back/DBres before content ")));
    QVERIFY(QFile::exists(data.filePath("packs/" + pack.shortFingerprint() + ".pelorin-content")));

    // The stored result is untouched and the test window loads the pack.
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check-ide");
    db.setDatabaseName(database);
    QVERIFY(db.open());
    QSqlQuery q("SELECT Code, Hooshbahr FROM IDE", db);
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), QStringLiteral("97"));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("check-ide");
    QCOMPARE(PackInstall::activePackDir(data.path()), result.packDir);
    TestContent content;
    QVERIFY2(content.load(result.packDir, &error), qPrintable(error));
    QCOMPARE(content.items().at(0).key, 3);

    // Installing again keeps the first safety copy beside a second.
    PackInstall::Result again;
    QVERIFY(PackInstall::install(pack, data.path(), &again, &error));
    QVERIFY(again.safetyCopy != result.safetyCopy);
    QVERIFY(QFile::exists(result.safetyCopy));

    // The tool installs the same way.
    QString out;
    QVERIFY(pack.saveArchive(data.filePath("p.pelorin-content"), nullptr));
    QCOMPARE(runTool({ "install", data.filePath("p.pelorin-content"), "--data-dir", data.path() }, &out), 0);
    QVERIFY2(out.contains("installed Clinic set 2.0 " + pack.shortFingerprint()), qPrintable(out));
}

void TestContentPack::installRefusesABrokenPack()
{
    QTemporaryDir data;
    ContentPack pack = shippedPack();
    makeDataFolder(data.path(), pack.file("norms.csv"));
    const QStringList before = pppRows(data.filePath("DBres.mdb"));
    editNorms(pack, [](QVector<QStringList> &t) { t.remove(rowOf(20)); });
    QString error;
    QVERIFY(!PackInstall::install(pack, data.path(), nullptr, &error));
    QVERIFY2(error.contains("نمره خام 20 نيامده است"), qPrintable(error));
    QCOMPARE(pppRows(data.filePath("DBres.mdb")), before);
    QVERIFY(!QDir(data.filePath("Back")).exists());
    QCOMPARE(PackInstall::activePackDir(data.path()), QString());
}

void TestContentPack::bundledSetComesBack()
{
    QTemporaryDir data;
    ContentPack pack = shippedPack();
    // The pack's IQs stand one above the bundled ones, so each table shows.
    editNorms(pack, [](QVector<QStringList> &t) {
        for (int r = 1; r < t.size(); ++r) {
            for (int c = 1; c <= 6; ++c)
                t[r][c] = QString::number(qMin(160, t[r][c].toInt() + 1));
        }
    });
    QFile bundledNorms(ShippedDir + "/norms.csv");
    QVERIFY(bundledNorms.open(QIODevice::ReadOnly));
    const QByteArray bundled = bundledNorms.readAll();
    makeDataFolder(data.path(), bundled);
    const QString database = data.filePath("DBres.mdb");
    QString error;
    QVERIFY2(PackInstall::install(pack, data.path(), nullptr, &error), qPrintable(error));
    const ContentInUse inUse = ContentInUse::at(data.path(), ShippedDir);
    QVERIFY(inUse.pack);
    QCOMPARE(inUse.dir, PackInstall::activePackDir(data.path()));
    QCOMPARE(inUse.fingerprint, pack.shortFingerprint());
    QVERIFY2(inUse.footerLine().contains("Clinic set") && inUse.footerLine().contains("2.0")
            && inUse.footerLine().contains(pack.shortFingerprint()),
        qPrintable(inUse.footerLine()));

    PackInstall::Result result;
    QVERIFY2(PackInstall::useBundled(ShippedDir, data.path(), &result, &error), qPrintable(error));
    QCOMPARE(pppRows(database), csvRows(bundled));
    QCOMPARE(pppRows(result.safetyCopy), csvRows(pack.file("norms.csv")));
    const ContentInUse back = ContentInUse::at(data.path(), ShippedDir);
    QVERIFY(!back.pack);
    QCOMPARE(back.dir, ShippedDir);
    QVERIFY(!back.footerLine().contains(pack.shortFingerprint()));
    QVERIFY(back.footerLine() != inUse.footerLine());

    // The tool does the same from the pack in use again.
    QVERIFY(PackInstall::install(pack, data.path(), nullptr, &error));
    QString out;
    QCOMPARE(runTool({ "bundled", "--data-dir", data.path() }, &out), 0);
    QVERIFY2(out.contains("Back/DBres before content"), qPrintable(out));
    QCOMPARE(pppRows(database), csvRows(bundled));
    QCOMPARE(PackInstall::activePackDir(data.path()), QString());
    QCOMPARE(runTool({ "bundled", "--data-dir", data.filePath("nowhere") }, &out), 2);
}

QTEST_GUILESS_MAIN(TestContentPack)
#include "tst_contentpack.moc"
