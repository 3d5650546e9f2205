#include "calendar/ShamsiCalendar.h"

#include "calendar/CalendarTexts.h"

#include <QDate>

namespace {

const QDate kEpoch(1953, 3, 21);
constexpr int kBaseYear = 1332;

const char16_t *const kMonths[12] = {
    u"فروردين",
    u"ارديبهشت",
    u"خرداد",
    u"تير",
    u"مرداد",
    u"شهريور",
    u"مهر",
    u"آبان",
    u"آذر",
    u"دي",
    u"بهمن",
    u"اسفند",
};

const char16_t *const kWeekdays[7] = {
    u"يکشنبه",
    u"دوشنبه",
    u"سه شنبه",
    u"چهارشنبه",
    u"پنجشنبه",
    u"جمعه",
    u"شنبه",
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
        return ShamsiDateText(d);
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

int ShamsiMonthLength(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    if (month <= 6)
        return 31;
    if (month <= 11)
        return 30;
    return IsShamsiLeap(year) ? 30 : 29;
}

qint64 ShamsiToDays(const ShamsiYmd &date)
{
    qint64 days = 0;
    for (int y = kBaseYear; y < date.year; ++y)
        days += IsShamsiLeap(y) ? 366 : 365;
    const int m = date.month - 1;
    days += m <= 6 ? m * 31 : 186 + (m - 6) * 30;
    return days + date.day - 1;
}

namespace {

// 0..9 for an ASCII, Persian or Arabic-Indic digit, -1 otherwise.
int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= 0x06F0 && u <= 0x06F9)
        return u - 0x06F0;
    if (u >= 0x0660 && u <= 0x0669)
        return u - 0x0660;
    return -1;
}

} // namespace

ShamsiDateField ReadShamsiDate(const QString &text)
{
    ShamsiDateField result;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return result;
    result.status = ShamsiDateField::Status::Invalid;

    // Three runs of digits with one separator between them; the same
    // separator twice, so "1398/05-03" reads as the slip it probably is.
    int parts[3] = { 0, 0, 0 };
    int lengths[3] = { 0, 0, 0 };
    int part = 0;
    QChar separator;
    for (const QChar c : t) {
        const int d = digitValue(c);
        if (d >= 0) {
            if (++lengths[part] > (part == 0 ? 4 : 2))
                return result;
            parts[part] = parts[part] * 10 + d;
            continue;
        }
        if ((c != QLatin1Char('/') && c != QLatin1Char('-')) || part == 2 || lengths[part] == 0)
            return result;
        if (part == 1 && c != separator)
            return result;
        separator = c;
        ++part;
    }
    if (part != 2 || lengths[0] != 4 || lengths[2] == 0)
        return result;
    const ShamsiYmd date { parts[0], parts[1], parts[2] };
    if (date.year < kShamsiFirstYear || date.year > kShamsiLastYear || date.day < 1
        || date.day > ShamsiMonthLength(date.year, date.month))
        return result;
    result.status = ShamsiDateField::Status::Valid;
    result.date = date;
    return result;
}

QString ShamsiDateText(const ShamsiYmd &date)
{
    return QString::number(date.year) + QLatin1Char('/') + twoDigits(date.month) + QLatin1Char('/')
        + twoDigits(date.day);
}

int CompletedMonths(const ShamsiYmd &birth, const ShamsiYmd &test)
{
    if (ShamsiToDays(birth) > ShamsiToDays(test))
        return -1;
    int months = (test.year - birth.year) * 12 + (test.month - birth.month);
    const int birthDay = qMin(birth.day, ShamsiMonthLength(test.year, test.month));
    if (test.day < birthDay)
        --months;
    return months;
}

QString ExactAgeText(int months)
{
    return CalendarTexts::exactAge.arg(months / 12).arg(months % 12);
}
