#include "test/scoring/ItemCounter.h"

#include "common/LeadingNumber.h"

#include <QLocale>

#include <cmath>

namespace ItemCounter {

namespace {

// The counter's text read as a whole number ("7", " 7", "2.5"); nothing for
// "12abc" or "", where the arithmetic of the buttons fails.
std::optional<double> plainNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString shortest(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

std::optional<QString> moved(const QString &text, double by)
{
    const auto v = plainNumber(text);
    if (!v)
        return std::nullopt;
    return shortest(*v + by);
}

} // namespace

Display display(const QString &text)
{
    const double v = LenientNumber(text);
    if (v < 1)
        return { 0, QStringLiteral("1") };
    if (v > kItems)
        return { 0, QString::number(kItems) };
    if (v == std::floor(v))
        return { int(v), std::nullopt };
    return {};
}

Step next(const QString &text)
{
    const double v = LenientNumber(text);
    if (v < 0)
        return { false, QStringLiteral("1") };
    if (v <= kItems + 1)
        return { true, moved(text, 1) };
    return {};
}

Step previous(const QString &text)
{
    return { true, moved(text, -1) };
}

} // namespace ItemCounter
