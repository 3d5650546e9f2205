#pragma once

#include <QString>

/// Texts of the result that the panel, the database and the scoring sheet share.
namespace ResultTexts {

/// Stands in for the IQ when the result is invalid.
inline QString invalid()
{
    return QStringLiteral("نتيجه نامعتبر مي باشد");
}

/// The percentile rank of an invalid result.
inline QString zeroPercentile()
{
    return QStringLiteral("0");
}

} // namespace ResultTexts
