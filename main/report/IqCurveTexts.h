#pragma once

#include <QString>

/// Texts of the IQ curve pictures.
namespace IqCurveTexts {

inline const QString percentile = QStringLiteral("رتبه درصدي %1");
inline const QString interval = QStringLiteral("فاصله اطمینان 90%: %1–%2");
inline const QString summary = QStringLiteral("تعداد: %1    میانگین: %2    انحراف معیار: %3");
inline const QString noIq = QStringLiteral("هیچ هوشبهر معتبری در این فهرست نیست");
inline const QString noValue = QStringLiteral("—");
inline const QString outside = QStringLiteral("    (%1 خارج از 40 تا 160)");

} // namespace IqCurveTexts
