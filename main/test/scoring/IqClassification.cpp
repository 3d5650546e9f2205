#include "test/scoring/IqClassification.h"

#include <array>

namespace {

struct Band
{
    double low;
    double high;
    const char16_t *persian;
    const char16_t *english;
};

// Tested from the top down, as the classification table reads.
constexpr std::array<Band, 9> kBands { {
    { 130, 1e300, u"خيلي سرآمد", u"Very Superior" },
    { 120, 129, u"سرآمد", u"Superior" },
    { 110, 119, u"بهنجار يا متوسط بالا", u"Bright Normal" },
    { 90, 109, u"بهنجار يا متوسط", u"Normal" },
    { 80, 89, u"متوسط پايين", u"Low Normal" },
    { 70, 79, u"مرزي", u"Borderline" },
    { 55, 69, u"عقب مانده خفيف", u"Mild Mental Retardation" },
    { 35, 54, u"عقب مانده متوسط", u"Moderate Mental Retardation" },
    { 25, 34, u"عقب مانده شديد", u"Severe Mental Retardation" },
} };

} // namespace

std::optional<IqBand> IqBandOf(double iq)
{
    for (const Band &b : kBands) {
        if (iq >= b.low && iq <= b.high)
            return IqBand { QString::fromUtf16(b.persian), QString::fromUtf16(b.english) };
    }
    return std::nullopt;
}

QVector<IqBandBounds> IqBandTable()
{
    QVector<IqBandBounds> table;
    for (auto b = kBands.crbegin(); b != kBands.crend(); ++b)
        table.append({ int(b->low), b->high > 160 ? 160 : int(b->high),
            IqBand { QString::fromUtf16(b->persian), QString::fromUtf16(b->english) } });
    return table;
}

std::optional<QString> IqBandText(double iq)
{
    const std::optional<IqBand> band = IqBandOf(iq);
    if (!band)
        return std::nullopt;
    return band->persian + QLatin1Char(' ') + band->english;
}
