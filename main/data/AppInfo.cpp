#include "AppInfo.h"

namespace AppInfo {

QString title() { return QStringLiteral("Pelorin"); }
int versionMajor() { return PELORIN_VERSION_MAJOR; }
int versionMinor() { return PELORIN_VERSION_MINOR; }

QString versionLabel()
{
    return title() + QLatin1Char(' ') + QString::number(versionMajor()) + QLatin1Char('.') + QString::number(versionMinor());
}

int versionNumber()
{
    return (QString::number(versionMajor()) + QString::number(versionMinor())).toInt();
}

QString serverUrl() { return QStringLiteral(PELORIN_SERVER_URL); }

} // namespace AppInfo
