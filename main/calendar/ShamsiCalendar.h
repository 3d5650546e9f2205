#pragma once

#include <QDateTime>
#include <QString>

// Module7: Gregorian date-times to Solar Hijri dates, one direction only.
// Day 0 is 21 March 1953 = 1 Farvardin 1332.

struct ShamsiYmd
{
    int year = 0;
    int month = 0;
    int day = 0;
};

/// The date of \a when as text in layout \a format (0 to 4); empty text for
/// any other layout. 0: 1401/07/28, 1: 28 مهر 1401, 2: weekday 1401/7/28,
/// 3: weekday 28 مهر 1401, 4: 1401.7.28.
QString ShamsiDate(const QDateTime &when, int format = 0);

/// Year, month and day for a day count from the epoch (days >= 0).
ShamsiYmd ShamsiFromDays(qint64 days);

/// Whether the Solar Hijri \a year has 366 days (the 32-year cycle rule).
bool IsShamsiLeap(int year);

/// Names as the program writes them (month 1..12; weekday 1 = Sunday .. 7).
QString ShamsiMonthName(int month);
QString ShamsiWeekdayName(int weekday);

/// Days in \a month (1..12) of the Solar Hijri \a year: 31 for months 1-6,
/// 30 for 7-11, 29 or (leap year) 30 for month 12; 0 for a month outside 1..12.
int ShamsiMonthLength(int year, int month);

/// The day count from the epoch for a valid date (the inverse of ShamsiFromDays).
qint64 ShamsiToDays(const ShamsiYmd &date);

/// A date field's text read as a Solar Hijri date.
struct ShamsiDateField
{
    enum class Status {
        Empty, ///< nothing but blanks: no date given
        Invalid, ///< not year/month/day, or a day the month does not have
        Valid,
    };
    Status status = Status::Empty;
    ShamsiYmd date;

    bool isValid() const { return status == Status::Valid; }
};

/// Years a date field accepts: the calendar counts from 1332; later than
/// 1499 is a typing slip, not a child's date.
constexpr int kShamsiFirstYear = 1332;
constexpr int kShamsiLastYear = 1499;

/// Reads year/month/day in ASCII, Persian (U+06F0..) or Arabic-Indic
/// (U+0660..) digits, "/" or "-" between, month and day of one or two
/// digits, blanks around the whole ignored. A date is valid when the month
/// is 1..12 and the day exists in that month of that year.
ShamsiDateField ReadShamsiDate(const QString &text);

/// Layout 0 of a date: "1398/05/03".
QString ShamsiDateText(const ShamsiYmd &date);

/// Whole months from \a birth to \a test (both valid); -1 when the birth
/// date is after the test date. A month is completed on the birth day of
/// the month, or on the month's last day when it is shorter (born on the
/// 31st, a month is completed on 30 Mehr).
int CompletedMonths(const ShamsiYmd &birth, const ShamsiYmd &test);

/// An age in completed months as "7 سال و 4 ماه" (ASCII digits, "0 ماه"
/// written out).
QString ExactAgeText(int months);
