#include "report/IqCurve.h"

#include <algorithm>
#include <cmath>

namespace IqCurve {

double height(double iq)
{
    const double z = (iq - Mean) / Sd;
    return std::exp(-0.5 * z * z);
}

std::optional<Interval> ConfidenceInterval90(double iq, std::optional<double> reliability)
{
    if (!reliability || !(*reliability > 0 && *reliability < 1) || !std::isfinite(iq))
        return std::nullopt;
    const double half = 1.645 * Sd * std::sqrt(1 - *reliability);
    const auto bound = [](double v) { return int(std::clamp(std::round(v), Lowest, Highest)); };
    return Interval { bound(iq - half), bound(iq + half) };
}

int BinOf(double iq)
{
    if (!(iq >= Lowest && iq <= Highest))
        return -1;
    return std::min(BinCount - 1, int((iq - Lowest) / BinWidth));
}

Histogram HistogramOf(const QVector<double> &iqs)
{
    Histogram h;
    double sum = 0;
    for (double iq : iqs) {
        const int bin = BinOf(iq);
        if (bin < 0)
            ++h.outside;
        else
            ++h.bins[bin];
        sum += iq;
    }
    h.count = int(iqs.size());
    if (h.count == 0)
        return h;
    h.mean = sum / h.count;
    if (h.count > 1) {
        double squares = 0;
        for (double iq : iqs)
            squares += (iq - h.mean) * (iq - h.mean);
        h.sd = std::sqrt(squares / (h.count - 1));
    }
    return h;
}

double Scale::x(double iq) const
{
    const double v = std::clamp(iq, Lowest, Highest);
    return m_plot.left() + (v - Lowest) / (Highest - Lowest) * m_plot.width();
}

double Scale::y(double h) const
{
    return m_plot.bottom() - h * m_plot.height();
}

QRectF Scale::bandRect(const Band &band) const
{
    const double low = std::max<double>(band.low, Lowest);
    const double high = std::min<double>(band.high + 1, Highest);
    if (high <= low)
        return {};
    return QRectF(QPointF(x(low), m_plot.top()), QPointF(x(high), m_plot.bottom()));
}

QRectF Scale::binRect(int bin, int count, int maxCount) const
{
    if (bin < 0 || bin >= BinCount || count <= 0 || maxCount <= 0)
        return {};
    const double low = Lowest + bin * BinWidth;
    const double top = y(0.95 * count / maxCount);
    return QRectF(QPointF(x(low), top), QPointF(x(low + BinWidth), m_plot.bottom()));
}

} // namespace IqCurve
