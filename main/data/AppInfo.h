#pragma once

#include <QString>

/// The program's title and version, as set once in the build.
namespace AppInfo {

QString title(); ///< "Pelorin"
int versionMajor();
int versionMinor();
QString versionLabel(); ///< title, blank, major "." minor: "Pelorin 2.3"
/// Major and minor digits written together and read as one number (2.3 gives 23).
int versionNumber();
QString serverUrl(); ///< the vendor's web server, no trailing slash

} // namespace AppInfo
