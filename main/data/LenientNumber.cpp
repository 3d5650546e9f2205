#include "LenientNumber.h"

double LenientNumber(const QString &text, bool allowFraction)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    int digits = 0;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        ++i;
        ++digits;
    }
    if (allowFraction && i < n && text[i] == QLatin1Char('.')) {
        int j = i + 1;
        int fraction = 0;
        while (j < n && text[j] >= QLatin1Char('0') && text[j] <= QLatin1Char('9')) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            digits += fraction;
            i = j;
        }
    }
    if (digits == 0)
        return 0;
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0;
}

long long LenientInteger(const QString &text)
{
    return static_cast<long long>(LenientNumber(text, true));
}
