#include "data/AppInfo.h"

#include "common/VersionText.h"

namespace AppInfo {

QString title()
{
    return QStringLiteral("Pelorin");
}
int versionMajor()
{
    return PELORIN_VERSION_MAJOR;
}
int versionMinor()
{
    return PELORIN_VERSION_MINOR;
}

QString versionLabel()
{
    return title() + QLatin1Char(' ') + VersionText(versionMajor(), versionMinor());
}

int versionNumber()
{
    return int(VersionNumber(versionMajor(), versionMinor()));
}

QString serverUrl()
{
    return QStringLiteral(PELORIN_SERVER_URL);
}

} // namespace AppInfo
