#pragma once

#include <QString>

/// The texts of the test window Frm1.
namespace TestWindowTexts {

inline const QString start = QStringLiteral("شروع");
inline const QString previous = QStringLiteral("قبلي");
inline const QString next = QStringLiteral("بعدي");
inline const QString result = QStringLiteral("نتيجه");
inline const QString exit = QStringLiteral("خروج");
inline const QString print = QStringLiteral("پرينت");
inline const QString rawScore = QStringLiteral("نمره خام");
inline const QString percentile = QStringLiteral("رتبه درصدي");
inline const QString iq = QStringLiteral("هوش بهر");

/// The item counter's name for screen readers.
inline const QString itemNumber = QStringLiteral("شماره سوال");

} // namespace TestWindowTexts
