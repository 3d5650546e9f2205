#include "calendar/ShamsiCalendar.h"

#include <QDate>

namespace {

const QDate kEpoch(1953, 3, 21);
constexpr int kBaseYear = 1332;

const char16_t *const kMonths[12] = {
    u"فروردين", u"ارديبهشت", u"خرداد", u"تير",  u"مرداد", u"شهريور",
    u"مهر",     u"آبان",     u"آذر",   u"دي",   u"بهمن",  u"اسفند",
};

const char16_t *const kWeekdays[7] = {
    u"يکشنبه", u"دوشنبه", u"سه شنبه", u"چهارشنبه", u"پنجشنبه", u"جمعه", u"شنبه",
};

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString ShamsiMonthName(int month)
{
    return month >= 1 && month <= 12 ? QString::fromUtf16(kMonths[month - 1]) : QString();
}

QString ShamsiWeekdayName(int weekday)
{
    return weekday >= 1 && weekday <= 7 ? QString::fromUtf16(kWeekdays[weekday - 1]) : QString();
}

bool IsShamsiLeap(int year)
{
    // z mod 32 - z div 32, with integer division truncating like the
    // original's for the positive z the program meets.
    const int z = year - 1309;
    const int r = (z % 32) - (z / 32);
    return r % 4 == 0;
}

ShamsiYmd ShamsiFromDays(qint64 days)
{
    qint64 rest = days;
    int passed = 0;
    for (;;) {
        const int length = IsShamsiLeap(kBaseYear + passed) ? 366 : 365;
        if (rest - length < 0)
            break;
        ++passed;
        rest -= length;
    }
    ShamsiYmd ymd;
    ymd.year = kBaseYear + passed;
    if (rest <= 185) {
        ymd.month = int(rest / 31) + 1;
        ymd.day = int(rest % 31) + 1;
    } else {
        rest -= 186;
        ymd.month = int(rest / 30) + 7;
        ymd.day = int(rest % 30) + 1;
    }
    return ymd;
}

QString ShamsiDate(const QDateTime &when, int format)
{
    const QDate date = when.date();
    const qint64 days = kEpoch.daysTo(date);
    // Qt counts Monday = 1 .. Sunday = 7; the table starts at Sunday.
    const int weekday = date.dayOfWeek() % 7 + 1;
    const ShamsiYmd d = ShamsiFromDays(days);
    const QString y = QString::number(d.year);
    const QString m = QString::number(d.month);
    const QString dd = QString::number(d.day);
    const QChar sp = QLatin1Char(' ');

    switch (format) {
    case 0:
        return y + QLatin1Char('/') + twoDigits(d.month) + QLatin1Char('/') + twoDigits(d.day);
    case 1:
        return dd + sp + ShamsiMonthName(d.month) + sp + y;
    case 2:
        return ShamsiWeekdayName(weekday) + sp + y + QLatin1Char('/') + m + QLatin1Char('/') + dd;
    case 3:
        return ShamsiWeekdayName(weekday) + sp + dd + sp + ShamsiMonthName(d.month) + sp + y;
    case 4:
        return y + QLatin1Char('.') + m + QLatin1Char('.') + dd;
    default:
        return QString();
    }
}
