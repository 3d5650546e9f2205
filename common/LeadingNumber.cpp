#include "common/LeadingNumber.h"

namespace LeadingNumber {

double read(const QString &text, Blanks blanks, bool allowFraction)
{
    const bool anywhere = blanks == Blanks::Anywhere;
    auto isBlank = [anywhere](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || (anywhere && c == QLatin1Char('\n'));
    };
    auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };

    QString number;
    bool digits = false;
    bool point = false;
    bool started = false;
    for (const QChar c : text) {
        if (isBlank(c) && (anywhere || !started))
            continue;
        started = true;
        if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && number.isEmpty()) {
            number += c;
        } else if (isDigit(c)) {
            number += c;
            digits = true;
        } else if (allowFraction && c == QLatin1Char('.') && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0;
}

std::optional<qint64> exactInteger(const QString &text)
{
    int i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    const int digitsFrom = i;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i;
    if (i == digitsFrom)
        return std::nullopt;
    bool ok = false;
    const qint64 value = QStringView(text).mid(start, i - start).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace LeadingNumber
