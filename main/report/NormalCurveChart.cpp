#include "report/NormalCurveChart.h"

#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextOption>

#include <algorithm>
#include <array>

namespace {

// Calm colours from the lowest band to the highest.
constexpr std::array<QRgb, 9> kBandColours {
    0xffe9dcd8,
    0xffeee2d2,
    0xfff3ead0,
    0xffe6eed6,
    0xffd7eadf,
    0xffd6e6ee,
    0xffdcdcef,
    0xffe6dbee,
    0xffe9dcd8,
};
constexpr QRgb kInk = 0xff3a4a44;
constexpr QRgb kMark = 0xffa0302e;
constexpr QRgb kInterval = 0x46a0302e;
constexpr QRgb kBars = 0xff7d9bb0;

// The curve's peak leaves room above it for the value at the mark.
constexpr double kPeak = 0.80;

QFont chartFont(double size, bool bold = false)
{
    QFont f(Fonts::resolve(QStringLiteral("B Nazanin")));
    f.setPixelSize(std::max(1, int(size)));
    f.setBold(bold);
    return f;
}

QTextOption centred(Qt::TextFlag wrap = Qt::TextSingleLine)
{
    QTextOption o(Qt::AlignCenter);
    o.setTextDirection(Qt::RightToLeft);
    o.setWrapMode(wrap == Qt::TextWordWrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    return o;
}

// A band's name, across the band when it fits in up to three lines and
// upright along it otherwise.
void drawBandLabel(QPainter &p, const QRectF &band, const QString &text, double size)
{
    const QFont font = chartFont(size * 0.85);
    p.setFont(font);
    const QFontMetricsF fm(font);
    const double line = fm.height();
    const QRectF need = fm.boundingRect(QRectF(0, 0, band.width() * 0.94, 1e6), Qt::TextWordWrap, text);
    if (need.width() <= band.width() * 0.94 && need.height() <= 3 * line + 1) {
        const QRectF box(band.left(), band.bottom() - need.height() - line * 0.2, band.width(), need.height());
        p.drawText(box, text, centred(Qt::TextWordWrap));
        return;
    }
    const double length = band.height() * 0.9;
    const QString shown = fm.elidedText(text, Qt::ElideLeft, length);
    p.save();
    p.translate(band.center().x(), band.bottom() - line * 0.2);
    p.rotate(-90);
    QTextOption o(Qt::AlignLeft | Qt::AlignVCenter | Qt::AlignAbsolute);
    o.setTextDirection(Qt::RightToLeft);
    o.setWrapMode(QTextOption::NoWrap);
    p.drawText(QRectF(0, -line / 2, length, line), shown, o);
    p.restore();
}

// Each band's name under its span, wrapped and set smaller where a narrow
// band needs it; thin rules mark where the bands meet.
void drawBandNamesBelow(QPainter &p, const IqCurve::Scale &scale, const QRectF &strip,
    const QVector<IqCurve::Band> &bands, double size, double pen)
{
    QTextOption o(Qt::AlignHCenter | Qt::AlignTop);
    o.setTextDirection(Qt::RightToLeft);
    o.setWrapMode(QTextOption::WordWrap);
    p.setPen(QPen(QColor::fromRgb(kInk), pen));
    for (const IqCurve::Band &band : bands) {
        const QRectF span = scale.bandRect(band);
        if (span.isEmpty())
            continue;
        const QRectF box(span.left() + size * 0.3, strip.top(), span.width() - size * 0.6, strip.height());
        QFont font = chartFont(size * 0.85);
        for (double fit = size * 0.85; fit >= size * 0.4; fit *= 0.92) {
            font = chartFont(fit);
            const QFontMetricsF fm(font);
            const QRectF need = fm.boundingRect(QRectF(0, 0, box.width(), 1e9), Qt::TextWordWrap, band.label);
            if (need.width() <= box.width() && need.height() <= box.height())
                break;
        }
        p.setFont(font);
        p.drawText(box, band.label, o);
        for (double x : { span.left(), span.right() })
            p.drawLine(QLineF(x, strip.top(), x, strip.top() + strip.height() * 0.8));
    }
}

} // namespace

double NormalCurveChart::textSize(const QRectF &rect, double textScale)
{
    return std::min(rect.height() / 9, rect.width() / 21) * textScale;
}

// Two lines of names at 0.85 of the text size, under the scale's numbers.
constexpr double kNamesStrip = 2.2;

QRectF NormalCurveChart::plotRect(const QRectF &rect, double textScale, BandNames bandNames)
{
    const double s = textSize(rect, textScale);
    const double below = bandNames == BandNames::Below ? kNamesStrip * s : 0;
    return rect.adjusted(s * 0.6, s * 1.6, -s * 0.6, -s * 1.4 - below);
}

QRectF NormalCurveChart::bandNamesRect(const QRectF &rect, double textScale)
{
    const double s = textSize(rect, textScale);
    const QRectF plot = plotRect(rect, textScale, BandNames::Below);
    return QRectF(rect.left(), plot.bottom() + s * 1.4, rect.width(), kNamesStrip * s);
}

void NormalCurveChart::paint(QPainter &p, const QRectF &rect) const
{
    using namespace IqCurve;
    const double s = textSize(rect, m_textScale);
    const Scale scale(plotRect(rect, m_textScale, m_bandNames));
    const QRectF plot = scale.plot();
    const double pen = std::max(s * 0.08, 0.0);

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Bands, each in its colour, named along its foot.
    for (int i = 0; i < m_picture.bands.size(); ++i) {
        const QRectF band = scale.bandRect(m_picture.bands[i]);
        if (band.isEmpty())
            continue;
        p.fillRect(band, QColor::fromRgba(kBandColours[size_t(i) % kBandColours.size()]));
    }

    // Histogram bars behind the curve.
    if (m_picture.histogram) {
        const Histogram &h = *m_picture.histogram;
        const int most = *std::max_element(h.bins.cbegin(), h.bins.cend());
        p.setPen(QPen(QColor::fromRgb(kInk), pen));
        p.setBrush(QColor::fromRgba(kBars));
        for (int bin = 0; bin < BinCount; ++bin) {
            const QRectF bar = scale.binRect(bin, h.bins[bin], most);
            if (!bar.isEmpty())
                p.drawRect(bar);
        }
        p.setFont(chartFont(s * 0.7));
        p.setPen(QColor::fromRgb(kInk));
        for (int bin = 0; bin < BinCount; ++bin) {
            const QRectF bar = scale.binRect(bin, h.bins[bin], most);
            if (!bar.isEmpty())
                p.drawText(QRectF(bar.left() - s, bar.top() - s * 0.9, bar.width() + 2 * s, s * 0.9),
                    QString::number(h.bins[bin]), centred());
        }
    }

    // The interval behind the mark.
    if (m_picture.iq && m_picture.interval) {
        const QRectF band(QPointF(scale.x(m_picture.interval->low), plot.top() + s * 0.2),
            QPointF(scale.x(m_picture.interval->high), plot.bottom()));
        p.fillRect(band, QColor::fromRgba(kInterval));
    }

    p.setPen(QColor::fromRgb(kInk));
    for (int i = 0; m_bandNames == BandNames::Inside && i < m_picture.bands.size(); ++i) {
        const QRectF band = scale.bandRect(m_picture.bands[i]);
        if (!band.isEmpty())
            drawBandLabel(p, band, m_picture.bands[i].label, s);
    }

    // The curve itself and the axis under it.
    QPainterPath curve;
    const int steps = 120;
    for (int k = 0; k <= steps; ++k) {
        const double iq = Lowest + (Highest - Lowest) * k / steps;
        const QPointF pt(scale.x(iq), scale.y(kPeak * height(iq)));
        if (k == 0)
            curve.moveTo(pt);
        else
            curve.lineTo(pt);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromRgb(kInk), pen * 2));
    p.drawPath(curve);
    p.setPen(QPen(QColor::fromRgb(kInk), pen));
    p.drawLine(QLineF(plot.left(), plot.bottom(), plot.right(), plot.bottom()));
    p.setFont(chartFont(s * 0.8));
    for (int iq = int(Lowest); iq <= int(Highest); iq += 15) {
        const double x = scale.x(iq);
        p.drawLine(QLineF(x, plot.bottom(), x, plot.bottom() + s * 0.25));
        p.drawText(QRectF(x - s * 1.5, plot.bottom() + s * 0.25, s * 3, s * 1.1), QString::number(iq), centred());
    }
    if (m_bandNames == BandNames::Below)
        drawBandNamesBelow(p, scale, bandNamesRect(rect, m_textScale), m_picture.bands, s, pen);

    // The child's IQ: a line up to the curve and its value above it.
    const QRectF info(rect.left(), rect.top(), rect.width(), s * 1.4);
    p.setFont(chartFont(s, true));
    if (m_picture.iq) {
        const double x = scale.x(*m_picture.iq);
        const double top = std::min(scale.y(kPeak * height(*m_picture.iq)), plot.bottom() - s * 1.5);
        p.setPen(QPen(QColor::fromRgb(kMark), pen * 3));
        p.drawLine(QLineF(x, plot.bottom(), x, top - s * 0.3));
        const QFontMetricsF fm(p.font());
        const double w = fm.horizontalAdvance(m_picture.iqText) + s;
        const double left = std::clamp(x - w / 2, plot.left(), plot.right() - w);
        p.drawText(QRectF(left, top - s * 1.5, w, s * 1.2), m_picture.iqText, centred());
    }
    p.setPen(QColor::fromRgb(kInk));
    QStringList line;
    if (!m_picture.note.isEmpty())
        line << m_picture.note;
    if (m_picture.iq) {
        line << m_picture.percentileText;
        if (m_picture.interval)
            line << m_picture.intervalText;
    }
    if (m_picture.histogram)
        line << m_picture.summaryText;
    line.removeAll(QString());
    // One line of texts, the first at the right as the line reads.
    QFont infoFont = chartFont(s, true);
    const double gap = s * 1.5;
    const auto widthOf = [&](const QFont &f) {
        double w = gap * std::max<qsizetype>(0, line.size() - 1);
        for (const QString &t : std::as_const(line))
            w += QFontMetricsF(f).horizontalAdvance(t);
        return w;
    };
    if (widthOf(infoFont) > info.width())
        infoFont.setPixelSize(std::max(1, int(infoFont.pixelSize() * info.width() / widthOf(infoFont))));
    p.setFont(infoFont);
    const QFontMetricsF fm(infoFont);
    double right = info.center().x() + widthOf(infoFont) / 2;
    for (const QString &t : std::as_const(line)) {
        const double w = fm.horizontalAdvance(t);
        p.drawText(QRectF(right - w - 1, info.top(), w + 2, info.height()), t, centred());
        right -= w + gap;
    }
    p.restore();
}
