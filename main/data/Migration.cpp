#include "data/Migration.h"

#include "calendar/Clock.h"
#include "calendar/ShamsiCalendar.h"
#include "common/DurableFile.h"
#include "data/AppPaths.h"
#include "data/DataTexts.h"
#include "data/Schema.h"
#include "data/SqlFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace Migration {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool sqlFail(QString *error, const QSqlQuery &q)
{
    return fail(error, SqlFailureText(q.lastError()));
}

bool sqlFail(QString *error, const QSqlDatabase &db)
{
    return fail(error, SqlFailureText(db.lastError()));
}

// Why a file could not be read or written, in the user's words.
QString fileFailureText(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::PermissionsError:
    case QFileDevice::OpenError:
        return DataTexts::readOnlyFolder.arg(QFileInfo(file.fileName()).absolutePath());
    case QFileDevice::ResourceError:
        return DataTexts::diskFull;
    default:
        return DataTexts::ioError;
    }
}

bool fileFail(QString *error, const QString &copy, const QFileDevice &file)
{
    return fail(error, DataTexts::safetyCopyFailed.arg(copy, fileFailureText(file)));
}

// 1 -> 2: the age in completed months, filled for the rows whose two dates
// are valid and different (the same date twice means no birth date given).
bool addAgeMonths(QSqlDatabase db, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("ALTER TABLE \"IDE\" ADD COLUMN \"AgeMonths\" INTEGER")))
        return sqlFail(error, q);
    struct Age
    {
        qint64 rowid;
        int months;
    };
    QVector<Age> ages;
    if (!q.exec(QStringLiteral("SELECT rowid, \"DateTavalod\", \"DateEjra\" FROM \"IDE\"")))
        return sqlFail(error, q);
    while (q.next()) {
        const ShamsiDateField birth = ReadShamsiDate(q.value(1).toString());
        const ShamsiDateField test = ReadShamsiDate(q.value(2).toString());
        if (!birth.isValid() || !test.isValid() || ShamsiToDays(birth.date) == ShamsiToDays(test.date))
            continue;
        const int months = CompletedMonths(birth.date, test.date);
        if (months >= 0)
            ages.append({ q.value(0).toLongLong(), months });
    }
    q.finish();
    QSqlQuery set(db);
    set.prepare(QStringLiteral("UPDATE \"IDE\" SET \"AgeMonths\" = ? WHERE rowid = ?"));
    for (const Age &a : ages) {
        set.addBindValue(a.months);
        set.addBindValue(a.rowid);
        if (!set.exec())
            return sqlFail(error, set);
    }
    return true;
}

// 2 -> 3: the log of every click, empty for the tests given before.
bool addAnswerLog(QSqlDatabase db, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(Schema::createSql(Schema::answerLog())))
        return sqlFail(error, q);
    QString indexError;
    if (!Schema::ensureIndexes(db, &indexError))
        return sqlFail(error, db);
    return true;
}

// Theme 1 -> 2: child mode, off in every profile that had none.
bool addChildMode(QSqlDatabase db, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("ALTER TABLE \"Theme\" ADD COLUMN \"ChildMode\" INTEGER DEFAULT 0")))
        return sqlFail(error, q);
    return true;
}

int userVersion(QSqlDatabase db, bool *ok)
{
    QSqlQuery q(db);
    *ok = q.exec(QStringLiteral("PRAGMA user_version")) && q.next();
    return *ok ? q.value(0).toInt() : 0;
}

// The whole file through a temporary name, on the disk before it is renamed
// into place: a copy that may be all that is left must be complete.
bool copyToDisk(const QString &source, const QString &destination, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, DataTexts::safetyCopyFailed.arg(destination, DataTexts::ioError));
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return fileFail(error, destination, out);
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFile::NoError)
            return fail(error, DataTexts::safetyCopyFailed.arg(destination, DataTexts::ioError));
        if (out.write(block) != block.size())
            return fileFail(error, destination, out);
    }
    // commit() syncs the bytes before its rename; the folder entry follows.
    if (!out.commit())
        return fileFail(error, destination, out);
    DurableFile::syncFolder(QFileInfo(destination).absolutePath());
    return true;
}

bool runSteps(QSqlDatabase db, const QVector<Step> &steps, int from, int target, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")) || !q.exec(QStringLiteral("PRAGMA synchronous = FULL")))
        return sqlFail(error, q);
    q.finish();
    if (!db.transaction())
        return sqlFail(error, db);
    bool ok = true;
    for (int v = from; ok && v < target; ++v) {
        const auto step = std::find_if(steps.cbegin(), steps.cend(), [v](const Step &s) { return s.from == v; });
        if (step == steps.cend()) {
            ok = fail(error, DataTexts::noUpgradeStep.arg(v));
            break;
        }
        ok = step->run(db, error);
        // A pragma takes no bound value; this is our own integer.
        if (ok && !q.exec(QStringLiteral("PRAGMA user_version = %1").arg(v + 1)))
            ok = sqlFail(error, q);
        if (!ok && error)
            *error = DataTexts::upgradeFailed.arg(v).arg(*error);
    }
    q.finish();
    if (ok && !db.commit())
        ok = sqlFail(error, db);
    if (!ok)
        db.rollback();
    return ok;
}

} // namespace

const QVector<Step> &examineeSteps()
{
    static const QVector<Step> steps = {
        { 1, addAgeMonths },
        { 2, addAnswerLog },
    };
    return steps;
}

const QVector<Step> &themeSteps()
{
    static const QVector<Step> steps = {
        { 1, addChildMode },
    };
    return steps;
}

namespace {

QString datedCopyPath(const QString &file, int version, const QString &suffix)
{
    const QDateTime now = Clock::now();
    const QString stem = QStringLiteral("%1 v%2 before upgrade %3 %4.%5")
                             .arg(file)
                             .arg(version)
                             .arg(ShamsiDate(now, 4))
                             .arg(now.time().hour())
                             .arg(now.time().minute(), 2, 10, QLatin1Char('0'));
    return AppPaths::freeBackupPath(stem, suffix);
}

Outcome upgradeFile(const QString &path, const QVector<Step> &steps, int target, QString (*copyPath)(int),
    QString *error, QString *safetyCopy, int assumeVersion = -1);

// The Code lookups' indexes a file of this layout may still lack (made
// before they were added, or dropped by other hands).
int missingIndexes(const QString &path, bool *ok)
{
    const QString name = QStringLiteral("indexes-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    int missing = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        *ok = db.open();
        QSqlQuery q(db);
        for (const QString &index : Schema::codeIndexNames()) {
            q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"));
            q.addBindValue(index);
            *ok = *ok && q.exec();
            if (*ok && !q.next())
                ++missing;
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return missing;
}

bool addIndexes(QSqlDatabase db, QString *error)
{
    return Schema::ensureIndexes(db, error);
}

} // namespace

bool keepSafetyCopy(const QString &path, const QString &stem, const QString &extension, QString *copy, QString *error)
{
    const QDateTime now = Clock::now();
    const QString keep = AppPaths::freeBackupPath(QStringLiteral("%1 %2 %3.%4")
                                                      .arg(stem)
                                                      .arg(ShamsiDate(now, 4))
                                                      .arg(now.time().hour())
                                                      .arg(now.time().minute(), 2, 10, QLatin1Char('0')),
        extension);
    if (!QDir().mkpath(QFileInfo(keep).absolutePath()))
        return fail(error, DataTexts::folderNotMade.arg(QFileInfo(keep).absolutePath()));
    if (!copyToDisk(path, keep, error))
        return false;
    if (copy)
        *copy = keep;
    return true;
}

QString safetyCopyPath(int version)
{
    return datedCopyPath(QStringLiteral("DBres"), version, QStringLiteral(".mdbB"));
}

QString themeSafetyCopyPath(int version)
{
    return datedCopyPath(QStringLiteral("Theme"), version, QStringLiteral(".sknB"));
}

Outcome upgradeExaminee(const QString &path, QString *error, QString *safetyCopy)
{
    const Outcome outcome = upgrade(path, examineeSteps(), Schema::kSchemaVersion, error, safetyCopy);
    if (outcome != Outcome::Current)
        return outcome;
    bool ok = false;
    if (missingIndexes(path, &ok) == 0 || !ok)
        return outcome;
    // Same layout, without the indexes: a change like any other, so the file
    // is copied into Back before it gains them.
    const int target = Schema::kSchemaVersion;
    const QVector<Step> indexing = { { target - 1, addIndexes } };
    return upgradeFile(path, indexing, target, safetyCopyPath, error, safetyCopy, target - 1);
}

Outcome upgradeTheme(const QString &path, QString *error, QString *safetyCopy)
{
    return upgradeFile(path, themeSteps(), Schema::kThemeSchemaVersion, themeSafetyCopyPath, error, safetyCopy);
}

Outcome upgrade(const QString &path, const QVector<Step> &steps, int target, QString *error, QString *safetyCopy)
{
    return upgradeFile(path, steps, target, safetyCopyPath, error, safetyCopy);
}

namespace {

// assumeVersion, when given, stands for the version of a file already at
// target, so that a repair of it runs as a step would.
Outcome upgradeFile(const QString &path, const QVector<Step> &steps, int target, QString (*copyPath)(int),
    QString *error, QString *safetyCopy, int assumeVersion)
{
    const QString name = QStringLiteral("upgrade-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    Outcome outcome = Outcome::Failed;
    QString message;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Never create a file that is not there.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        bool ok = QFileInfo::exists(path) && db.open();
        const int fileVersion = ok ? userVersion(db, &ok) : 0;
        const int version = ok && assumeVersion >= 0 && fileVersion == target ? assumeVersion : fileVersion;
        db.close();
        if (!ok) {
            message = QFileInfo::exists(path) ? SqlFailureText(db.lastError())
                                              : DataTexts::notFound.arg(QFileInfo(path).absoluteFilePath());
        } else if (version == target) {
            outcome = Outcome::Current;
        } else if (version > target) {
            message = DataTexts::newer.arg(version).arg(target);
        } else {
            const QString keep = copyPath(fileVersion);
            if (QDir().mkpath(QFileInfo(keep).absolutePath()) && copyToDisk(path, keep, &message)) {
                if (safetyCopy)
                    *safetyCopy = keep;
                db.setConnectOptions(QString());
                if (!db.open())
                    message = SqlFailureText(db.lastError());
                else if (runSteps(db, steps, version, target, &message))
                    outcome = Outcome::Upgraded;
                db.close();
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (outcome == Outcome::Failed && error)
        *error = QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), message);
    return outcome;
}

} // namespace

} // namespace Migration
