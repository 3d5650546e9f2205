#include "update/UpdateRules.h"

#include "common/LeadingNumber.h"
#include "common/VersionText.h"

namespace UpdateRules {

double newestVersion(const QString &versionFile)
{
    return LeadingNumber::read(versionFile, LeadingNumber::Blanks::Anywhere);
}

qint64 runningVersion(int major, int minor)
{
    return VersionNumber(major, minor);
}

bool isNewer(const QString &versionFile, int major, int minor)
{
    return newestVersion(versionFile) > double(runningVersion(major, minor));
}

QString versionText(int major, int minor)
{
    return VersionText(major, minor);
}

QString updaterFileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Pelorinupdate.exe");
#else
    return QStringLiteral("Pelorinupdate");
#endif
}

} // namespace UpdateRules
