#pragma once

#include <QString>

/// Which test materials the program scores with: the pack installed in the
/// data folder, or the bundled demonstration set in the program folder.
struct ContentInUse
{
    QString dir; ///< the content folder to load
    bool pack = false; ///< false: the bundled set
    QString name; ///< the pack's name
    QString version; ///< the pack's contentVersion
    QString fingerprint; ///< first 12 hex digits of the pack's fingerprint

    /// For the data folder and bundled folder of AppPaths.
    static ContentInUse current();
    static ContentInUse at(const QString &dataDir, const QString &bundledDir);

    /// The line the printouts carry in their footer.
    QString footerLine() const;
};
