#pragma once

#include <QString>

// The Persian variable and value labels of an exported file. The labels of
// the fields the records window shows are its column captions.
namespace ExportTexts {

inline const QString code = QStringLiteral("كدآزمودني");
inline const QString fName = QStringLiteral("نام");
inline const QString lName = QStringLiteral("نام خانوادگي");
inline const QString jens = QStringLiteral("جنسيت");
inline const QString sen = QStringLiteral("سن");
inline const QString ageMonths = QStringLiteral("سن به ماه");
inline const QString tahsil = QStringLiteral("تحصيلات");
inline const QString group = QStringLiteral("گروه");
inline const QString dateEjra = QStringLiteral("تاريخ اجرا");
inline const QString dateTavalod = QStringLiteral("تاريخ تولد");
inline const QString azmayande = QStringLiteral("آزمونگر");
inline const QString nKham = QStringLiteral("نمره خام");
inline const QString hooshbahr = QStringLiteral("هوشبهر");
inline const QString rDarsadi = QStringLiteral("رتبه درصدي");
inline const QString classification = QStringLiteral("طبقه بندي هوشبهر");
inline const QString classificationEn = QStringLiteral("طبقه بندي هوشبهر (انگليسي)");
/// "پاسخ سؤال 7": the stored answer of item 7.
inline const QString answer = QStringLiteral("پاسخ سؤال %1");
/// "درستي پاسخ سؤال 7": 1 where the answer of item 7 is correct.
inline const QString correct = QStringLiteral("درستي پاسخ سؤال %1");
/// "زمان پاسخ سؤال 7 (ثانيه)": seconds to the final answer of item 7.
inline const QString seconds = QStringLiteral("زمان پاسخ سؤال %1 (ثانيه)");

inline const QString boy = QStringLiteral("پسر");
inline const QString girl = QStringLiteral("دختر");
inline const QString right = QStringLiteral("درست");
inline const QString wrong = QStringLiteral("نادرست");

} // namespace ExportTexts
