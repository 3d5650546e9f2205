#include "test/content/PackInstall.h"

#include "data/Schema.h"
#include "test/content/PackCheck.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

QString packsDir(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("packs"));
}
QString activeFile(const QString &dataDir)
{
    return QDir(packsDir(dataDir)).filePath(QStringLiteral("active"));
}

bool fail(QString *error, const QString &what)
{
    if (error)
        *error = what;
    return false;
}

// A dated name in Back that no earlier copy has.
QString safetyCopyPath(const QString &dataDir)
{
    const QDir back(QDir(dataDir).filePath(QStringLiteral("Back")));
    const QString stem = QStringLiteral("DBres before content %1")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmmss")));
    QString path = back.filePath(stem + QStringLiteral(".mdb"));
    for (int n = 2; QFile::exists(path); ++n)
        path = back.filePath(QStringLiteral("%1 (%2).mdb").arg(stem).arg(n));
    return path;
}

// The safety copy is taken by SQLite itself (VACUUM INTO) inside the
// connection, so it is a whole, consistent file; then PPP is replaced in
// one transaction.
bool replaceNorms(
    const QString &database, const QVector<Schema::NormsRow> &norms, const QString &copyPath, QString *error)
{
    const QString name = QStringLiteral("pack-install-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(database);
        QSqlQuery q(db);
        const Schema::Table ppp = Schema::ppp();
        QStringList marks;
        QStringList columns;
        for (const QString &field : ppp.fields) {
            marks.append(QStringLiteral("?"));
            columns.append(Schema::quoted(field));
        }
        auto sqlFail = [&](const QString &step, const QSqlError &e) {
            return fail(error, QStringLiteral("%1: %2: %3").arg(database, step, e.text()));
        };
        if (!db.open())
            ok = sqlFail(QStringLiteral("cannot open"), db.lastError());
        else if (!q.prepare(QStringLiteral("VACUUM INTO ?")) || (q.addBindValue(copyPath), !q.exec()))
            ok = sqlFail(QStringLiteral("safety copy %1").arg(copyPath), q.lastError());
        else if (!db.transaction())
            ok = sqlFail(QStringLiteral("begin"), db.lastError());
        else {
            ok = q.exec(QStringLiteral("DELETE FROM PPP"));
            if (!ok)
                sqlFail(QStringLiteral("clearing PPP"), q.lastError());
            ok = ok
                && q.prepare(QStringLiteral("INSERT INTO PPP (%1) VALUES (%2)")
                                 .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
            for (int i = 0; ok && i < norms.size(); ++i) {
                for (const QString &v : QStringList { norms[i].code } + norms[i].iq + norms[i].percentile)
                    q.addBindValue(v.trimmed());
                ok = q.exec();
            }
            if (!ok && error && error->isEmpty())
                sqlFail(QStringLiteral("loading PPP"), q.lastError());
            if (ok && !db.commit())
                ok = sqlFail(QStringLiteral("commit"), db.lastError());
            if (!ok)
                db.rollback();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString database(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("DBres.mdb"));
}

// The norms of \a normsPath into PPP, the database copied into Back first.
bool loadNorms(const QString &normsPath, const QString &dataDir, QString *copy, QString *error)
{
    QVector<Schema::NormsRow> norms;
    if (!Schema::readNormsCsv(normsPath, &norms, error))
        return false;
    *copy = safetyCopyPath(dataDir);
    return replaceNorms(database(dataDir), norms, *copy, error);
}

} // namespace

namespace PackInstall {

bool install(const ContentPack &pack, const QString &dataDir, Result *result, QString *error)
{
    if (error)
        error->clear();
    const QVector<PackFault> faults = PackCheck::check(pack);
    if (PackCheck::hasErrors(faults))
        return fail(error, PackCheck::describe(faults).join(QLatin1Char('\n')));
    if (!QFile::exists(database(dataDir)))
        return fail(error, QStringLiteral("%1: no examinee database").arg(database(dataDir)));

    const QString print = pack.shortFingerprint();
    const QDir packs(packsDir(dataDir));
    const QString unpacked = packs.filePath(print);
    QString why;
    if (!QDir().mkpath(unpacked) || !QDir().mkpath(QDir(dataDir).filePath(QStringLiteral("Back")))
        || !pack.saveArchive(packs.filePath(print + QLatin1String(ContentPack::Suffix)), &why)
        || !pack.extractTo(unpacked, &why))
        return fail(error, why.isEmpty() ? QStringLiteral("%1: cannot be written").arg(unpacked) : why);

    const QString normsPath = QDir(unpacked).filePath(pack.manifest().value(QStringLiteral("norms")).toString());
    QString copy;
    if (!loadNorms(normsPath, dataDir, &copy, error))
        return false;

    QSaveFile active(activeFile(dataDir));
    if (!active.open(QIODevice::WriteOnly) || active.write(print.toLatin1() + '\n') < 0 || !active.commit())
        return fail(error, QStringLiteral("%1: %2").arg(active.fileName(), active.errorString()));
    if (result)
        *result = { unpacked, copy };
    return true;
}

bool useBundled(const QString &bundledDir, const QString &dataDir, Result *result, QString *error)
{
    if (error)
        error->clear();
    if (!QFile::exists(database(dataDir)))
        return fail(error, QStringLiteral("%1: no examinee database").arg(database(dataDir)));
    QString copy;
    const QString back = QDir(dataDir).filePath(QStringLiteral("Back"));
    if (!QDir().mkpath(back))
        return fail(error, QStringLiteral("%1: cannot be written").arg(back));
    if (!loadNorms(QDir(bundledDir).filePath(QStringLiteral("norms.csv")), dataDir, &copy, error))
        return false;
    QFile active(activeFile(dataDir));
    if (active.exists() && !active.remove())
        return fail(error, QStringLiteral("%1: %2").arg(active.fileName(), active.errorString()));
    if (result)
        *result = { bundledDir, copy };
    return true;
}

QString activePackDir(const QString &dataDir)
{
    QFile f(activeFile(dataDir));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString print = QString::fromLatin1(f.readAll()).trimmed();
    const QString dir = QDir(packsDir(dataDir)).filePath(print);
    return print.isEmpty() || print.contains(QLatin1Char('/')) || !QDir(dir).exists() ? QString() : dir;
}

} // namespace PackInstall
