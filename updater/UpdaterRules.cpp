#include "UpdaterRules.h"

#include <algorithm>
#include <cmath>

namespace UpdaterRules {

QString GetFileName(const QString &address)
{
    const QString scheme = QStringLiteral("http://");
    if (!address.startsWith(scheme) || address == scheme)
        return {};
    const qsizetype slash = address.lastIndexOf(QLatin1Char('/'), address.size() - 2);
    if (slash < 0)
        return {};
    const QString name = address.mid(slash + 1);
    // A negative start would make lastIndexOf count from the end.
    if (name.size() < 2 || name.lastIndexOf(QLatin1Char('.'), name.size() - 2) < 0)
        return {};
    return name;
}

double leadingNumber(const QString &text)
{
    QString number;
    bool digits = false;
    bool fraction = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue;
        if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && number.isEmpty()) {
            number += c;
        } else if (c.isDigit() && c.unicode() < 128) {
            number += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !fraction) {
            number += c;
            fraction = true;
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

qint64 roundHalfEven(double value)
{
    // The default floating-point rounding mode rounds halves to even.
    return qint64(std::nearbyint(value));
}

QString percentText(qint64 received, qint64 length)
{
    return QString::number(roundHalfEven(double(received) / double(length) * 100.0));
}

int barValue(const QString &percent)
{
    return int(std::clamp<qint64>(roundHalfEven(leadingNumber(percent)), 0, 100));
}

} // namespace UpdaterRules
