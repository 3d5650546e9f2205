#include "updater/UpdaterRules.h"

#include "common/LeadingNumber.h"

#include <algorithm>
#include <cmath>

namespace UpdaterRules {

QString GetFileName(const QString &address)
{
    // https:// as well: the setup address may be an encrypted one.
    const QString scheme
        = address.startsWith(QStringLiteral("https://")) ? QStringLiteral("https://") : QStringLiteral("http://");
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
    return LeadingNumber::read(text, LeadingNumber::Blanks::Anywhere);
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
