#pragma once

#include <QString>

/// A version as the user sees it: major "." minor ("2.3").
inline QString VersionText(int major, int minor)
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

/// The version as one number: major and minor digits written together
/// (2.3 gives 23, 1.10 gives 110).
inline qint64 VersionNumber(int major, int minor)
{
    return (QString::number(major) + QString::number(minor)).toLongLong();
}
