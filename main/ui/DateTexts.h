#pragma once

#include "calendar/ExamineeAge.h"

#include <QString>

/// What the two panels that take an examinee's dates say about them.
namespace DateTexts {

inline const QString invalidBirthDate = QStringLiteral("تاريخ تولد معتبر نيست؛ آن را به شکل 1398/05/03 وارد کنيد");
inline const QString invalidTestDate = QStringLiteral("تاريخ اجرا معتبر نيست؛ آن را به شکل 1398/05/03 وارد کنيد");
inline const QString birthAfterTest = QStringLiteral("تاريخ تولد بعد از تاريخ اجرا است");
inline const QString exactAgeCaption = QStringLiteral("سن دقيق");

/// The yes/no question when the picked age and the dates disagree.
inline QString ageMismatch(const QString &picked, const ExamineeDates &dates)
{
    return QStringLiteral(
        "سن انتخاب شده %1 سال است ولي با تاريخ تولد و تاريخ اجرا %2 مي شود. آيا با همين سن ذخيره شود؟")
        .arg(picked.trimmed(), dates.exactAgeText());
}

/// The notice for a date fault (empty for Fault::None).
inline QString notice(ExamineeDates::Fault fault)
{
    switch (fault) {
    case ExamineeDates::Fault::BirthDate:
        return invalidBirthDate;
    case ExamineeDates::Fault::TestDate:
        return invalidTestDate;
    case ExamineeDates::Fault::BirthAfterTest:
        return birthAfterTest;
    case ExamineeDates::Fault::None:
        break;
    }
    return QString();
}

} // namespace DateTexts
