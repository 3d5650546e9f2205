#include "data/Database.h"

#include "data/AppPaths.h"
#include "data/Migration.h"
#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace Database {

namespace {

QString describe(const QString &path, const QString &message)
{
    return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), message);
}

bool fail(QString *error, const QString &path, const QString &message)
{
    // The driver leaves some faults (a file cut short) without a text.
    if (error)
        *error = describe(path, message.trimmed().isEmpty() ? QStringLiteral("damaged or unreadable database") : message);
    return false;
}

int pragmaInt(QSqlDatabase &db, const char *pragma, bool *ok)
{
    QSqlQuery q(db);
    *ok = q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma))) && q.next();
    return *ok ? q.value(0).toInt() : 0;
}

bool checkOpen(QSqlDatabase &db, const QString &path, File kind, QString *error, CheckOptions options)
{
    bool ok = false;
    const int appId = pragmaInt(db, "application_id", &ok);
    if (!ok)
        return fail(error, path, db.lastError().text());
    const int expectedId = kind == File::Examinee ? Schema::kExamineeApplicationId : Schema::kThemeApplicationId;
    if (appId != expectedId)
        return fail(error, path, QStringLiteral("not a Pelorin %1 database").arg(kind == File::Examinee ? QStringLiteral("examinee") : QStringLiteral("clinic profile")));
    const int version = pragmaInt(db, "user_version", &ok);
    if (!ok)
        return fail(error, path, db.lastError().text());
    const int current = kind == File::Examinee ? Schema::kSchemaVersion : Schema::kThemeSchemaVersion;
    if (version > current)
        return fail(error, path,
            QStringLiteral("made by a newer Pelorin (schema %1, this program reads up to %2)")
                .arg(version)
                .arg(current));
    if (options.integrity) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next())
            return fail(error, path, q.lastError().text());
        if (q.value(0).toString() != QLatin1String("ok"))
            return fail(error, path, QStringLiteral("damaged database (%1)").arg(q.value(0).toString()));
    }
    const QVector<Schema::Table> tables = kind == File::Examinee ? Schema::examineeTables() : Schema::themeTables();
    // An older file is checked against its own layout; open() upgrades it.
    for (const Schema::Table &t : tables) {
        if (t.since > version)
            continue;
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
        q.addBindValue(t.name);
        if (!q.exec())
            return fail(error, path, q.lastError().text());
        QStringList present;
        while (q.next())
            present << q.value(0).toString();
        if (present.isEmpty())
            return fail(error, path, QStringLiteral("no such table: %1").arg(t.name));
        for (const QString &f : t.fieldsAt(version)) {
            if (!present.contains(f, Qt::CaseInsensitive))
                return fail(error, path, QStringLiteral("no such field: %1.%2").arg(t.name, f));
        }
    }
    return true;
}

} // namespace

QString fileName(File file)
{
    return file == File::Examinee ? QStringLiteral("DBres.mdb") : QStringLiteral("Theme.skn");
}

QString path(File file)
{
    return file == File::Examinee ? AppPaths::examineeDatabase() : AppPaths::themeDatabase();
}

QString connectionName(File file)
{
    return file == File::Examinee ? QStringLiteral("pelorin-examinee") : QStringLiteral("pelorin-theme");
}

bool check(const QString &path, File kind, QString *error, CheckOptions options)
{
    const QFileInfo info(path);
    if (!info.exists())
        return fail(error, path, QStringLiteral("file not found (%1)").arg(QFileInfo(path).absoluteFilePath()));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, path, file.errorString());
    const QByteArray head = file.read(16);
    file.close();
    if (head != QByteArray("SQLite format 3\0", 16))
        return fail(error, path, QStringLiteral("not a database file"));

    const QString name = QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            ok = fail(error, path, db.lastError().text());
        else
            ok = checkOpen(db, path, kind, error, options);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool open(File file, QString *error)
{
    const QString name = connectionName(file);
    if (QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).isOpen())
        return true;
    const QString p = path(file);
    if (!check(p, file, error))
        return false;
    if (file == File::Examinee) {
        switch (Migration::upgradeExaminee(p, error)) {
        case Migration::Outcome::Current:
            break;
        case Migration::Outcome::Upgraded:
            if (!check(p, file, error))
                return false;
            break;
        case Migration::Outcome::Failed:
            return false;
        }
    }
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(p);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return fail(error, p, db.lastError().text());
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")) || !q.exec(QStringLiteral("PRAGMA synchronous = FULL"))) {
        const QString message = q.lastError().text();
        q.finish();
        db.close();
        return fail(error, p, message);
    }
    return true;
}

QSqlDatabase connection(File file)
{
    return QSqlDatabase::database(connectionName(file), false);
}

namespace {
quint64 g_generation = 0;
}

quint64 generation()
{
    return g_generation;
}

void closeAll()
{
    ++g_generation;
    for (File f : {File::Examinee, File::Theme}) {
        const QString name = connectionName(f);
        if (!QSqlDatabase::contains(name))
            continue;
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

} // namespace Database
