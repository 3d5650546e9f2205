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

/// Why a result has no place on the curve, in one line.
inline QString invalidRawTooLow()
{
    return QStringLiteral("نمره خام كمتر از 5 است: نتيجه نامعتبر مي باشد");
}
inline QString invalidIqTooLow()
{
    return QStringLiteral("هوش بهر كمتر از 25 است: نتيجه نامعتبر مي باشد");
}
inline QString notScored()
{
    return QStringLiteral("هنوز نمره گذاري نشده است");
}

} // namespace ResultTexts
