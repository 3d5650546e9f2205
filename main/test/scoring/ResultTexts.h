#pragma once

#include <QString>

/// Texts of the result that the panel, the database and the scoring sheet share.
namespace ResultTexts {

/// Stands in for the IQ when the result is invalid.
inline const QString invalid = QStringLiteral("نتيجه نامعتبر مي باشد");

/// The percentile rank of an invalid result.
inline const QString zeroPercentile = QStringLiteral("0");

/// Why a result has no place on the curve, in one line.
inline const QString invalidRawTooLow = QStringLiteral("نمره خام كمتر از 5 است: نتيجه نامعتبر مي باشد");
inline const QString invalidIqTooLow = QStringLiteral("هوش بهر كمتر از 25 است: نتيجه نامعتبر مي باشد");
inline const QString notScored = QStringLiteral("هنوز نمره گذاري نشده است");

} // namespace ResultTexts
