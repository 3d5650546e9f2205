#include "test/scoring/ResultCurve.h"

#include "common/LeadingNumber.h"
#include "report/IqCurveTexts.h"
#include "test/scoring/IqClassification.h"
#include "test/scoring/ResultTexts.h"

#include <QLocale>
#include <QStringList>

QVector<IqCurve::Band> IqCurveBands()
{
    QVector<IqCurve::Band> bands;
    for (const IqBandBounds &b : IqBandTable())
        bands.append({ b.low, b.high, b.band.persian });
    return bands;
}

namespace {

// Below this raw score the norms give no IQ.
constexpr double kLowestScoredRaw = 5;

// An IQ text holds an IQ when it starts with a number the classification
// accepts; the invalid-result text and an empty text do not.
std::optional<double> iqOf(const QString &text)
{
    if (text.trimmed().isEmpty() || text == ResultTexts::invalid)
        return std::nullopt;
    const double iq = LenientNumber(text);
    if (iq < kLowestClassifiedIq)
        return std::nullopt;
    return iq;
}

} // namespace

IqCurve::Picture ResultCurve(
    const QString &iqText, const QString &percentileText, const QString &rawText, std::optional<double> reliability)
{
    IqCurve::Picture picture;
    picture.bands = IqCurveBands();
    const std::optional<double> iq = iqOf(iqText);
    if (!iq && iqText.trimmed().isEmpty()) {
        picture.note = ResultTexts::notScored;
        return picture;
    }
    if (!iq) {
        const bool rawTooLow = !rawText.trimmed().isEmpty() && LenientNumber(rawText) < kLowestScoredRaw;
        picture.note = rawTooLow ? ResultTexts::invalidRawTooLow : ResultTexts::invalidIqTooLow;
        return picture;
    }
    picture.iq = iq;
    picture.iqText = QString::number(*iq);
    picture.percentileText = IqCurveTexts::percentile.arg(percentileText.trimmed());
    picture.interval = IqCurve::ConfidenceInterval90(*iq, reliability);
    if (picture.interval)
        picture.intervalText = IqCurveTexts::interval.arg(picture.interval->low).arg(picture.interval->high);
    return picture;
}

IqCurve::Picture DistributionCurve(const QStringList &iqTexts)
{
    QVector<double> iqs;
    for (const QString &text : iqTexts) {
        if (const std::optional<double> iq = iqOf(text))
            iqs.append(*iq);
    }
    IqCurve::Picture picture;
    picture.bands = IqCurveBands();
    picture.histogram = IqCurve::HistogramOf(iqs);
    const IqCurve::Histogram &h = *picture.histogram;
    // No mean of nothing, and no spread of one value.
    if (h.count == 0)
        picture.summaryText = IqCurveTexts::noIq;
    else
        picture.summaryText = IqCurveTexts::summary.arg(h.count).arg(
            QString::number(h.mean, 'f', 1), h.count > 1 ? QString::number(h.sd, 'f', 1) : IqCurveTexts::noValue);
    if (h.outside > 0)
        picture.summaryText += IqCurveTexts::outside.arg(h.outside);
    return picture;
}
