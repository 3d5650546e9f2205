#include "data/DataFolder.h"

#include "data/AppPaths.h"
#include "data/SqlFailure.h"

#include "common/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace DataFolder {

namespace {

const QString kExaminee = QStringLiteral("DBres.mdb");
const QString kLogo = QStringLiteral(".jpg");
const QString kBack = QStringLiteral("Back");

// SQLite's companions of a database file: a hot journal belongs to its file.
const QStringList kCompanions = { QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm") };

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

/// Copies through a temporary file renamed into place, synced first, so a
/// data file is either whole or absent.
bool copyFile(const QString &from, const QString &to, QString *error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("%1: %2").arg(from, FileFailureText(in)));
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("%1: %2").arg(to, FileFailureText(out)));
    QByteArray block(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(block.data(), block.size());
        if (n < 0)
            return fail(error, QStringLiteral("%1: %2").arg(from, FileFailureText(in)));
        if (n == 0)
            break;
        if (out.write(block.constData(), n) != n)
            return fail(error, QStringLiteral("%1: %2").arg(to, FileFailureText(out)));
    }
    if (!out.commit())
        return fail(error, QStringLiteral("%1: %2").arg(to, FileFailureText(out)));
    return true;
}

bool makeFolder(const QString &dir, QString *error)
{
    if (!QDir().mkpath(dir))
        return fail(error, QStringLiteral("%1: cannot create the folder").arg(dir));
    return true;
}

int countExaminees(const QString &path, bool *ok)
{
    *ok = false;
    int count = 0;
    const QString name = QStringLiteral("datafolder-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM IDE")) && q.next()) {
                count = q.value(0).toInt();
                *ok = true;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return count;
}

/// Copies the old data, the examinee file last (see dataFiles()).
bool copyOldData(const QString &oldDir, const QString &dataDir, Result *result, QString *error)
{
    const QDir from(oldDir);
    const QDir to(dataDir);
    if (!makeFolder(to.filePath(kBack), error))
        return false;
    const QFileInfoList backups = QDir(from.filePath(kBack)).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &backup : backups) {
        const QString target = to.filePath(kBack + QLatin1Char('/') + backup.fileName());
        if (!QFileInfo::exists(target) && !copyFile(backup.filePath(), target, error))
            return false;
    }
    QStringList names = dataFiles();
    for (const QString &suffix : kCompanions)
        names.insert(names.size() - 1, kExaminee + suffix);
    for (const QString &name : names) {
        if (QFileInfo::exists(from.filePath(name)) && !QFileInfo::exists(to.filePath(name))) {
            if (!copyFile(from.filePath(name), to.filePath(name), error))
                return false;
            result->createdFiles = true;
        }
    }
    result->copiedOldData = true;
    return true;
}

} // namespace

QStringList dataFiles()
{
    return { QStringLiteral("Theme.skn"), kLogo, kExaminee };
}

bool holdsOldData(const QString &dir)
{
    const QDir d(dir);
    if (!QDir(d.filePath(kBack)).entryList(QDir::Files | QDir::Hidden).isEmpty())
        return true;
    if (!QFileInfo::exists(d.filePath(kExaminee)))
        return false;
    bool ok = false;
    const int examinees = countExaminees(d.filePath(kExaminee), &ok);
    return !ok || examinees > 0; // a file we cannot read is not ours to drop
}

bool fillFromTemplates(const QString &templatesDir, const QString &dataDir, Result *result, QString *error)
{
    const QDir templates(templatesDir);
    const QDir data(dataDir);
    if (!makeFolder(data.filePath(kBack), error))
        return false;
    for (const QString &name : dataFiles()) {
        const QString target = data.filePath(name);
        if (QFileInfo::exists(target))
            continue;
        const QString source = templates.filePath(name);
        if (!QFileInfo::exists(source)) {
            if (name == kLogo) // the logo is optional: the settings panel can pick one
                continue;
            return fail(error, QStringLiteral("%1: the template of %2 is missing").arg(source, name));
        }
        if (name == kExaminee) {
            // A journal left without its file would be played into the new one.
            for (const QString &suffix : kCompanions)
                QFile::remove(target + suffix);
        }
        if (!copyFile(source, target, error))
            return false;
        result->createdFiles = true;
    }
    if (result->createdFiles) // the new names last as well as the bytes
        DurableFile::syncFolder(dataDir);
    return true;
}

bool prepare(
    const QString &programDir, const QString &userDir, const AskCopyOldData &ask, Result *result, QString *error)
{
    *result = Result();
    const QString templates = QDir(programDir).filePath(QStringLiteral("templates"));
    if (QFileInfo::exists(QDir(programDir).filePath(QStringLiteral("Pelorin.portable")))) {
        result->dir = programDir;
        result->portable = true;
        if (!QFileInfo(programDir).isWritable())
            return fail(error, QStringLiteral("%1: this portable program folder cannot be written").arg(programDir));
        return fillFromTemplates(templates, programDir, result, error);
    }
    result->dir = userDir;
    const bool firstStart = !QFileInfo::exists(QDir(userDir).filePath(kExaminee));
    if (firstStart && QDir(programDir) != QDir(userDir) && holdsOldData(programDir) && ask
        && ask(programDir, userDir)) {
        if (!copyOldData(programDir, userDir, result, error))
            return false;
    }
    return fillFromTemplates(templates, userDir, result, error);
}

bool prepareForStart(const AskCopyOldData &ask, QString *error)
{
    Result result;
    if (!prepare(AppPaths::programDir(), AppPaths::userDataDir(), ask, &result, error))
        return false;
    AppPaths::setDataDir(result.dir);
    return true;
}

} // namespace DataFolder
