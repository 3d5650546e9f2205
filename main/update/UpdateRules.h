#pragma once

#include <QString>

/// The update check's decisions, without widgets or network.
namespace UpdateRules {

/// The number a version file holds: its leading number, with blanks, tabs
/// and line feeds skipped wherever they stand; reading stops at the first
/// character that cannot go on, and no number gives 0 ("  24\r\n" gives 24,
/// "2.4" gives 2.4).
double newestVersion(const QString &versionFile);

/// The running version as one number: major and minor digits written
/// together (2.3 gives 23, 1.10 gives 110).
qint64 runningVersion(int major, int minor);

/// Whether the version file names a newer version than major.minor.
bool isNewer(const QString &versionFile, int major, int minor);

/// The version as the user sees it: major "." minor.
QString versionText(int major, int minor);

/// The updater's file name on this system.
QString updaterFileName();

} // namespace UpdateRules
