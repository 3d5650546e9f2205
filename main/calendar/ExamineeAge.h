#pragma once

#include "calendar/ShamsiCalendar.h"

#include <QString>

/// An examinee's birth and test date fields read together, as the
/// registration panel and the records window's edit panel store them.
struct ExamineeDates
{
    enum class Fault {
        None,
        BirthDate, ///< a birth date that is not a date
        TestDate, ///< a test date that is not a date
        BirthAfterTest, ///< both dates, the birth date later
    };
    Fault fault = Fault::None;
    QString birthDate; ///< as stored: layout 0 when valid, empty when empty
    QString testDate;
    /// Completed months from birth to test; -1 when no age follows: a date
    /// empty or not valid, or both the same day (the panel opens with today
    /// in both, which means no birth date was given).
    int ageMonths = -1;

    bool hasAge() const { return ageMonths >= 0; }
    int ageYears() const { return ageMonths / 12; }
    /// What IDE.AgeMonths holds: the months, or empty.
    QString ageMonthsText() const { return hasAge() ? QString::number(ageMonths) : QString(); }
    /// "7 سال و 4 ماه", or empty without an age.
    QString exactAgeText() const { return hasAge() ? ExactAgeText(ageMonths) : QString(); }
};

ExamineeDates ReadExamineeDates(const QString &birthDate, const QString &testDate);

/// Whether the age in whole years picked in a list (\a ageText) agrees with
/// the dates; true when the dates give no age.
bool AgeAgreesWithDates(const QString &ageText, const ExamineeDates &dates);

/// What an empty age list is set to from the dates: the completed years
/// when they are 5 to 10, else empty (the list stays as it is).
QString AgeListProposal(const QString &ageText, const ExamineeDates &dates);
