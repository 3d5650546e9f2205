#pragma once

#include <QString>

/// Where the program's files live: the folder of the executable, unless a
/// test points it elsewhere.
class AppPaths
{
public:
    static QString programDir();
    /// Tests use a temporary folder; an empty path returns to the executable's folder.
    static void setProgramDir(const QString &dir);

    static QString examineeDatabase(); ///< "DBres.mdb"
    static QString themeDatabase();    ///< "Theme.skn"
    static QString logoFile();         ///< ".jpg"
    static QString contentDir();       ///< "content"
    static QString backupDir();        ///< "Back"
    static QString inProgramDir(const QString &name);
    /// A path in Back named \a stem + \a extension, or stem " (2)" and up
    /// when that name is taken: a safety copy never replaces another.
    static QString freeBackupPath(const QString &stem, const QString &extension);
};
