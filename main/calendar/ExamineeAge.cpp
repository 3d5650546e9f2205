#include "calendar/ExamineeAge.h"

namespace {

QString stored(const ShamsiDateField &field, const QString &text)
{
    return field.isValid() ? ShamsiDateText(field.date) : text.trimmed();
}

} // namespace

ExamineeDates ReadExamineeDates(const QString &birthDate, const QString &testDate)
{
    ExamineeDates d;
    const ShamsiDateField birth = ReadShamsiDate(birthDate);
    const ShamsiDateField test = ReadShamsiDate(testDate);
    d.birthDate = stored(birth, birthDate);
    d.testDate = stored(test, testDate);
    if (birth.status == ShamsiDateField::Status::Invalid)
        d.fault = ExamineeDates::Fault::BirthDate;
    else if (test.status == ShamsiDateField::Status::Invalid)
        d.fault = ExamineeDates::Fault::TestDate;
    if (d.fault != ExamineeDates::Fault::None || !birth.isValid() || !test.isValid())
        return d;
    const int months = CompletedMonths(birth.date, test.date);
    if (months < 0)
        d.fault = ExamineeDates::Fault::BirthAfterTest;
    else if (ShamsiToDays(birth.date) != ShamsiToDays(test.date))
        d.ageMonths = months;
    return d;
}

bool AgeAgreesWithDates(const QString &ageText, const ExamineeDates &dates)
{
    if (!dates.hasAge())
        return true;
    bool ok = false;
    const int years = ageText.trimmed().toInt(&ok);
    return ok && years == dates.ageYears();
}

QString AgeListProposal(const QString &ageText, const ExamineeDates &dates)
{
    if (!ageText.isEmpty() || !dates.hasAge() || dates.ageYears() < 5 || dates.ageYears() > 10)
        return QString();
    return QString::number(dates.ageYears());
}
