#pragma once

#include <QRectF>
#include <QString>
#include <QVector>

#include <optional>

/// The normal curve of IQs (mean 100, SD 15) as the result pictures draw it,
/// from 40 to 160, without any drawing: scale, bands, interval, histogram.
namespace IqCurve {

constexpr double Mean = 100;
constexpr double Sd = 15;
constexpr double Lowest = 40;
constexpr double Highest = 160;
constexpr int BinWidth = 5;
constexpr int BinCount = int((Highest - Lowest) / BinWidth);

/// Height of the curve at \a iq, 1 at the mean.
double height(double iq);

/// A labelled band with inclusive whole-number bounds (90 to 109).
struct Band
{
    int low = 0;
    int high = 0;
    QString label;
};

/// The 90% confidence interval in whole points, within 40 to 160.
struct Interval
{
    int low = 0;
    int high = 0;
};

/// IQ ± 1.645 × 15 × √(1 − r); none without a reliability or one outside (0, 1).
std::optional<Interval> ConfidenceInterval90(double iq, std::optional<double> reliability);

/// IQs counted in 5-point bins from 40 (40–44, 45–49, ... 155–160; the last
/// bin takes 160). Values outside 40–160 count in the summary but in no bin.
struct Histogram
{
    QVector<int> bins = QVector<int>(BinCount, 0);
    int count = 0;
    int outside = 0;
    double mean = 0;
    double sd = 0; ///< sample SD; 0 for fewer than two values
};
Histogram HistogramOf(const QVector<double> &iqs);
/// Bin of \a iq, or -1 outside 40–160.
int BinOf(double iq);

/// Maps IQs to x and heights to y inside a plot rectangle, in any unit.
class Scale
{
public:
    explicit Scale(const QRectF &plot)
        : m_plot(plot)
    {
    }
    QRectF plot() const { return m_plot; }
    /// x of \a iq, clamped to the plot.
    double x(double iq) const;
    /// y of a curve height 0..1 (1 at the top of the plot).
    double y(double h) const;
    /// The area a band covers: from its low bound to the next band's low
    /// bound (90 to 110 for 90–109), clipped to 40–160; empty outside.
    QRectF bandRect(const Band &band) const;
    /// The bar of histogram bin \a bin for \a count of at most \a maxCount.
    QRectF binRect(int bin, int count, int maxCount) const;

private:
    QRectF m_plot;
};

/// Everything one picture shows. Without a mark it is just the curve.
struct Picture
{
    QVector<Band> bands;
    std::optional<double> iq; ///< the marked IQ
    QString iqText; ///< written at the mark ("100")
    QString percentileText; ///< "رتبه درصدي 57"
    std::optional<Interval> interval;
    QString intervalText; ///< "فاصله اطمینان 90%: 97–109"
    QString note; ///< one line instead of a mark (why it is missing)
    std::optional<Histogram> histogram;
    QString summaryText; ///< histogram: count, mean and SD
};

} // namespace IqCurve
