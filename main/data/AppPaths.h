#pragma once

#include <QString>

/// Where the program's files live. The program folder (the executable's)
/// holds read-only program files: content/ and the templates of the data
/// files. The data folder holds what the clinic writes: "DBres.mdb",
/// "Theme.skn", ".jpg" and Back/. It is the per-user folder, or the program
/// folder itself when that holds the marker "Pelorin.portable".
class AppPaths
{
public:
    static QString programDir();
    /// Tests and tools point both folders at one temporary folder that keeps
    /// its own data; an empty path returns to the executable's folder.
    static void setProgramDir(const QString &dir);

    /// The data folder chosen at start (DataFolder::prepare); before that,
    /// the folder the marker points to.
    static QString dataDir();
    static void setDataDir(const QString &dir);

    /// XDG data home + "/Pelorin" (~/.local/share/Pelorin).
    static QString userDataDir();
    static QString portableMarker(); ///< program folder + "/Pelorin.portable"
    static bool isPortable();
    static QString templatesDir(); ///< program folder + "/templates"

    static QString examineeDatabase(); ///< "DBres.mdb" in the data folder
    static QString themeDatabase(); ///< "Theme.skn" in the data folder
    static QString logoFile(); ///< ".jpg" in the data folder
    static QString backupDir(); ///< "Back" in the data folder
    static QString contentDir(); ///< "content" in the program folder
    static QString inProgramDir(const QString &name);
    /// A path in Back named \a stem + \a extension, or stem " (2)" and up
    /// when that name is taken: a safety copy never replaces another.
    static QString freeBackupPath(const QString &stem, const QString &extension);
    static QString inDataDir(const QString &name);
};
