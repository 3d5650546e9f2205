#pragma once

#include <QString>

/// The texts of registration and of starting a test by code.
namespace RegistrationTexts {

inline QString missingCode()
{
    return QStringLiteral("کد آزمودني را وارد کنيد");
}
inline QString missingFirstName()
{
    return QStringLiteral("نام آزمودني را وارد کنيد");
}
inline QString missingLastName()
{
    return QStringLiteral("نام خانوادگي آزمودني را وارد کنيد");
}
inline QString missingSex()
{
    return QStringLiteral("جنسيت آزمودني را مشخص کنيد");
}
inline QString missingAge()
{
    return QStringLiteral("سن آزمودني را وارد کنيد");
}
inline QString missingGroup()
{
    return QStringLiteral("گروه را مشخص کنيد");
}
inline QString missingEducation()
{
    return QStringLiteral("ميزان تحصيلات آزمودني را وارد کنيد");
}
inline QString duplicateCode()
{
    return QStringLiteral("فردديگري با اين کد ثبت شده");
}

inline QString startPrompt()
{
    return QStringLiteral(" Plese Insert Code ");
}
inline QString startTitle()
{
    return QStringLiteral("Enter Code ");
}
inline QString startEmptyCode()
{
    return QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
}
/// Asked before a test over answers already stored: code, then full name.
inline QString startRetestQuestion()
{
    return QStringLiteral("آزمودني %1 (%2) پيش از اين به سؤال ها پاسخ داده است. با آزمون دوباره، پاسخ هاي قبلي او "
                          "عوض مي شوند. آزمون دوباره انجام شود؟");
}

inline QString startUnknownCode()
{
    return QStringLiteral("فردي با اين مشخصات وجود ندارد");
}

inline QString errorTitle()
{
    return QStringLiteral("خطا");
}

} // namespace RegistrationTexts
