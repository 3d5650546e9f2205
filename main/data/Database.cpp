#include "data/Database.h"

#include "data/AppPaths.h"
#include "data/DataTexts.h"
#include "data/Migration.h"
#include "data/Schema.h"
#include "data/SqlFailure.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QtEndian>

namespace Database {

namespace {

QString describe(const QString &path, const QString &message)
{
    return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), message);
}

bool fail(QString *error, const QString &path, const QString &message)
{
    if (error)
        *error = describe(path, message);
    return false;
}

bool failSql(QString *error, const QString &path, const QSqlError &sqlError)
{
    return fail(error, path, SqlFailureText(sqlError));
}

int pragmaInt(QSqlDatabase &db, const char *pragma, QSqlError *sqlError)
{
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma))) && q.next())
        return q.value(0).toInt();
    *sqlError = q.lastError();
    return -1;
}

int expectedApplicationId(File kind)
{
    return kind == File::Examinee ? Schema::kExamineeApplicationId : Schema::kThemeApplicationId;
}

bool checkOpen(QSqlDatabase &db, const QString &path, File kind, QString *error, CheckOptions options)
{
    QSqlError sqlError;
    const int appId = pragmaInt(db, "application_id", &sqlError);
    if (appId < 0)
        return failSql(error, path, sqlError);
    if (appId != expectedApplicationId(kind))
        return fail(error, path, kind == File::Examinee ? DataTexts::notExaminees : DataTexts::notClinic);
    const int version = pragmaInt(db, "user_version", &sqlError);
    if (version < 0)
        return failSql(error, path, sqlError);
    const int current = kind == File::Examinee ? Schema::kSchemaVersion : Schema::kThemeSchemaVersion;
    if (version > current)
        return fail(error, path, DataTexts::newer.arg(version).arg(current));
    if (options.integrity) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next())
            return failSql(error, path, q.lastError());
        if (q.value(0).toString() != QLatin1String("ok"))
            return fail(error, path, DataTexts::damagedDetail.arg(q.value(0).toString()));
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
            return failSql(error, path, q.lastError());
        QStringList present;
        while (q.next())
            present << q.value(0).toString();
        if (present.isEmpty())
            return fail(error, path, DataTexts::noTable.arg(t.name));
        for (const QString &f : t.fieldsAt(version)) {
            if (!present.contains(f, Qt::CaseInsensitive))
                return fail(error, path, DataTexts::noField.arg(t.name, f));
        }
    }
    return true;
}

// Whether the file is one of ours by its first page alone, before SQLite
// opens it: the header text and the application id at offset 68.
bool checkHeader(const QString &path, File kind, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(
            error, path, file.error() == QFileDevice::PermissionsError ? DataTexts::readOnlyFile : DataTexts::ioError);
    const QByteArray head = file.read(100);
    if (!head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return fail(error, path, DataTexts::notADatabase);
    if (head.size() < 100)
        return fail(error, path, DataTexts::damaged);
    if (qFromBigEndian<qint32>(head.constData() + 68) != expectedApplicationId(kind))
        return fail(error, path, kind == File::Examinee ? DataTexts::notExaminees : DataTexts::notClinic);
    return true;
}

// A store needs the file and its folder (for the rollback journal) writable.
bool checkWritable(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!info.isWritable())
        return fail(error, path, DataTexts::readOnlyFile);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable())
        return fail(error, path, DataTexts::readOnlyFolder.arg(folder.absoluteFilePath()));
    return true;
}

// The settings panel edits the profile's one row in place: a file without
// it gains it, after a copy of the file as it was is kept in Back.
bool ensureThemeRow(QSqlDatabase &db, const QString &path, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM \"Theme\")")) || !q.next())
        return failSql(error, path, q.lastError());
    const bool present = q.value(0).toBool();
    q.finish();
    if (present)
        return true;
    QString message;
    if (!Migration::keepSafetyCopy(
            path, QStringLiteral("Theme before profile row"), QStringLiteral(".sknB"), nullptr, &message)
        || !Schema::addThemeRow(db, &message))
        return fail(error, path, message);
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
    if (!QFileInfo::exists(path))
        return fail(error, path, DataTexts::notFound.arg(QFileInfo(path).absoluteFilePath()));
    if (!checkHeader(path, kind, error))
        return false;
    if (options.recover && !checkWritable(path, error))
        return false;

    const QString name = QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Opened for writing, SQLite rolls back the journal a crash left
        // behind, and the file is whole again; read-only it would only see
        // the half-written pages.
        db.setConnectOptions(options.recover ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000")
                                             : QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open())
            ok = failSql(error, path, db.lastError());
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
    CheckOptions options;
    options.recover = true;
    if (!check(p, file, error, options))
        return false;
    const Migration::Outcome upgraded
        = file == File::Examinee ? Migration::upgradeExaminee(p, error) : Migration::upgradeTheme(p, error);
    switch (upgraded) {
    case Migration::Outcome::Current:
        break;
    case Migration::Outcome::Upgraded:
        if (!check(p, file, error))
            return false;
        break;
    case Migration::Outcome::Failed:
        return false;
    }
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(p);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return failSql(error, p, db.lastError());
    QSqlQuery q(db);
    QSqlError sqlError;
    if (!q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")) || !q.exec(QStringLiteral("PRAGMA synchronous = FULL")))
        sqlError = q.lastError();
    q.finish();
    if (sqlError.isValid()) {
        db.close();
        return failSql(error, p, sqlError);
    }
    if (file == File::Theme && !ensureThemeRow(db, p, error)) {
        db.close();
        return false;
    }
    return true;
}

bool openReadOnly(File file, const QString &path, QString *error)
{
    const QString name = connectionName(file);
    if (QSqlDatabase::contains(name))
        return fail(error, path, DataTexts::alreadyOpen);
    if (!check(path, file, error))
        return false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return failSql(error, path, db.lastError());
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
    for (File f : { File::Examinee, File::Theme }) {
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
