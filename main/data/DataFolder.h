#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// Picks the data folder at start and fills it on the first start.
/// Portable program folder (marker "Pelorin.portable"): the data stays in the
/// program folder. Otherwise the per-user folder holds it, made from the
/// read-only templates of the program folder. Existing data files are never
/// replaced, and nothing is moved: old data in a program folder is copied,
/// and only when the user says so.
namespace DataFolder {

/// Asked once, when the program folder \a oldDir holds data from before the
/// per-user folder \a dataDir existed. True copies it; false starts from the templates.
using AskCopyOldData = std::function<bool(const QString &oldDir, const QString &dataDir)>;

struct Result
{
    QString dir;
    bool portable = false;
    bool createdFiles = false; ///< some data file was made (from a template or a copy)
    bool copiedOldData = false; ///< the old program-folder data was copied
};

/// The data files of a data folder, "DBres.mdb" last: a folder that holds it
/// is complete, so it is always the last file written.
QStringList dataFiles();

/// True when \a dir holds examinees (or an unreadable "DBres.mdb") or backups.
bool holdsOldData(const QString &dir);

/// Makes the missing data files of \a dataDir from \a templatesDir, and its
/// Back folder. Existing files are left alone.
bool fillFromTemplates(const QString &templatesDir, const QString &dataDir, Result *result, QString *error);

/// Chooses and prepares the data folder for \a programDir (templates in its
/// "templates" folder), with \a userDir as the per-user folder.
bool prepare(
    const QString &programDir, const QString &userDir, const AskCopyOldData &ask, Result *result, QString *error);

/// prepare() for the running program (AppPaths' folders); points
/// AppPaths::dataDir() at the chosen folder.
bool prepareForStart(const AskCopyOldData &ask, QString *error);

} // namespace DataFolder
