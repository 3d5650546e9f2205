#include "UpdateRules.h"

namespace UpdateRules {

double newestVersion(const QString &versionFile)
{
    QString number;
    bool digits = false;
    bool point = false;
    for (const QChar c : versionFile) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue;
        if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && number.isEmpty()) {
            number += c;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            number += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    return digits ? number.toDouble() : 0;
}

qint64 runningVersion(int major, int minor)
{
    return (QString::number(major) + QString::number(minor)).toLongLong();
}

bool isNewer(const QString &versionFile, int major, int minor)
{
    return newestVersion(versionFile) > double(runningVersion(major, minor));
}

QString versionText(int major, int minor)
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
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
