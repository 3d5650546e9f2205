#pragma once

#include <QString>

/// The texts of registration and of starting a test by code.
namespace RegistrationTexts {

inline const QString missingCode = QStringLiteral("کد آزمودني را وارد کنيد");
inline const QString missingFirstName = QStringLiteral("نام آزمودني را وارد کنيد");
inline const QString missingLastName = QStringLiteral("نام خانوادگي آزمودني را وارد کنيد");
inline const QString missingSex = QStringLiteral("جنسيت آزمودني را مشخص کنيد");
inline const QString missingAge = QStringLiteral("سن آزمودني را وارد کنيد");
inline const QString missingGroup = QStringLiteral("گروه را مشخص کنيد");
inline const QString missingEducation = QStringLiteral("ميزان تحصيلات آزمودني را وارد کنيد");
inline const QString duplicateCode = QStringLiteral("فردديگري با اين کد ثبت شده");

inline const QString startPrompt = QStringLiteral(" Plese Insert Code ");
inline const QString startTitle = QStringLiteral("Enter Code ");
inline const QString startEmptyCode = QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
/// Asked before a test over answers already stored: code, then full name.
inline const QString startRetestQuestion
    = QStringLiteral("آزمودني %1 (%2) پيش از اين به سؤال ها پاسخ داده است. با آزمون دوباره، پاسخ هاي قبلي او "
                     "عوض مي شوند. آزمون دوباره انجام شود؟");

inline const QString startUnknownCode = QStringLiteral("فردي با اين مشخصات وجود ندارد");

} // namespace RegistrationTexts
