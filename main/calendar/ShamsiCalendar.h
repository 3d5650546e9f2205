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
