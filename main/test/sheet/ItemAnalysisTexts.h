#pragma once

#include <QString>

/// The texts of the scoring sheet's item analysis page.
namespace ItemAnalysisTexts {

inline const QString heading = QStringLiteral("تحليل سؤال ها");
inline const QString name = QStringLiteral("نام: %1");
inline const QString code = QStringLiteral("كد: %1");
inline const QString testDate = QStringLiteral("تاريخ اجرا: %1");
inline const QString item = QStringLiteral("سؤال");
inline const QString choice = QStringLiteral("پاسخ نهايي");
inline const QString result = QStringLiteral("نتيجه");
inline const QString time = QStringLiteral("زمان پاسخ (ثانيه)");
inline const QString changes = QStringLiteral("تغيير پاسخ");
inline const QString right = QStringLiteral("درست");
inline const QString wrong = QStringLiteral("نادرست");
inline const QString noAnswer = QStringLiteral("بي پاسخ");
inline const QString noTime = QStringLiteral("-");
inline const QString totalTime = QStringLiteral("زمان كل آزمون: %1");
inline const QString minutesSeconds = QStringLiteral("%1 دقيقه و %2 ثانيه");
inline const QString seconds = QStringLiteral("%1 ثانيه");
inline const QString notTimed = QStringLiteral("ثبت نشده");
inline const QString correctCount = QStringLiteral("پاسخ درست: %1 از 36");
inline const QString changeCount = QStringLiteral("تعداد كل تغييرها: %1");

} // namespace ItemAnalysisTexts
