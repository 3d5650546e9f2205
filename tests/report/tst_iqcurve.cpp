#include "report/IqCurve.h"
#include "report/NormalCurveChart.h"
#include "report/NormalCurveView.h"
#include "report/RecordingPaintDevice.h"
#include "test/scoring/ResultCurve.h"
#include "test/scoring/ResultTexts.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace IqCurve;

namespace {

const QRectF kChart(300, 200, 8000, 2400); // twips on the recording device

QVector<DrawnItem> draw(const Picture &picture, RecordingPaintDevice &device)
{
    QPainter p(&device);
    NormalCurveChart(picture).paint(p, kChart);
    p.end();
    return device.items();
}

bool near(double a, double b)
{
    return std::abs(a - b) < 2;
}

bool hasShape(const QVector<DrawnItem> &items, const QRectF &r)
{
    for (const DrawnItem &i : items) {
        if (i.kind == DrawnItem::Kind::Shape && near(i.rect.left(), r.left()) && near(i.rect.right(), r.right())
            && near(i.rect.bottom(), r.bottom()))
            return true;
    }
    return false;
}

// Vertical lines reaching well above the axis: the mark, not the ticks.
QVector<double> markLines(const QVector<DrawnItem> &items, const QRectF &plot)
{
    QVector<double> xs;
    for (const DrawnItem &i : items) {
        if (i.kind == DrawnItem::Kind::Line && i.rect.width() < 1 && i.rect.height() > plot.height() * 0.05
            && near(i.rect.bottom(), plot.bottom()))
            xs << i.rect.center().x();
    }
    return xs;
}

// The texts of each drawn line, the runs of one line joined. Runs come in
// visual order, so a line is compared by its letters, blanks left out.
QString sortedLetters(const QString &text)
{
    QString s = text;
    s.remove(QLatin1Char(' '));
    std::sort(s.begin(), s.end());
    return s;
}

bool holdsLine(const QVector<DrawnItem> &items, const QString &expected)
{
    QMap<int, QString> lines;
    for (const DrawnItem &i : items) {
        if (i.kind == DrawnItem::Kind::Text)
            lines[qRound(i.rect.center().y() / 20)] += i.text;
    }
    const QString want = sortedLetters(expected);
    for (const QString &line : std::as_const(lines)) {
        QString have = sortedLetters(line);
        bool all = true;
        for (const QChar c : want) {
            const qsizetype at = have.indexOf(c);
            if (at < 0) {
                all = false;
                break;
            }
            have.remove(at, 1);
        }
        if (all)
            return true;
    }
    return false;
}

QString allText(const QVector<DrawnItem> &items)
{
    QString s;
    for (const DrawnItem &i : items) {
        if (i.kind == DrawnItem::Kind::Text)
            s += i.text + QLatin1Char('|');
    }
    return s;
}

} // namespace

class IqCurveTest : public QObject
{
    Q_OBJECT

private slots:
    void result_data()
    {
        QTest::addColumn<QString>("iq");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<double>("reliability"); // < 0: the content states none
        QTest::addColumn<QString>("band"); // band that holds the mark; empty: no mark
        QTest::addColumn<QString>("interval"); // expected interval text; empty: none
        QTest::addColumn<QString>("note");

        const QString none;
        QTest::newRow("40, r 0.90") << "40"
                                    << "5" << 0.90 << "عقب مانده متوسط"
                                    << "فاصله اطمینان 90%: 40–48" << none;
        QTest::newRow("69, r 0.90") << "69"
                                    << "9" << 0.90 << "عقب مانده خفيف"
                                    << "فاصله اطمینان 90%: 61–77" << none;
        QTest::newRow("70, r 0.90") << "70"
                                    << "10" << 0.90 << "مرزي"
                                    << "فاصله اطمینان 90%: 62–78" << none;
        QTest::newRow("100, r 0.90") << "100"
                                     << "20" << 0.90 << "بهنجار يا متوسط"
                                     << "فاصله اطمینان 90%: 92–108" << none;
        QTest::newRow("130, r 0.90") << "130"
                                     << "30" << 0.90 << "خيلي سرآمد"
                                     << "فاصله اطمینان 90%: 122–138" << none;
        QTest::newRow("160, r 0.90") << "160"
                                     << "35" << 0.90 << "خيلي سرآمد"
                                     << "فاصله اطمینان 90%: 152–160" << none;
        QTest::newRow("100, no r") << "100"
                                   << "20" << -1.0 << "بهنجار يا متوسط" << none << none;
        QTest::newRow("69, no r") << "69"
                                  << "9" << -1.0 << "عقب مانده خفيف" << none << none;
        QTest::newRow("invalid, raw below 5")
            << ResultTexts::invalid << "3" << 0.90 << none << none << ResultTexts::invalidRawTooLow;
        QTest::newRow("invalid, IQ below 25")
            << ResultTexts::invalid << "7" << -1.0 << none << none << ResultTexts::invalidIqTooLow;
    }

    void result()
    {
        QFETCH(QString, iq);
        QFETCH(QString, raw);
        QFETCH(double, reliability);
        QFETCH(QString, band);
        QFETCH(QString, interval);
        QFETCH(QString, note);

        const std::optional<double> r = reliability < 0 ? std::nullopt : std::optional<double>(reliability);
        const Picture picture = ResultCurve(iq, QStringLiteral("57"), raw, r);
        RecordingPaintDevice device(QSize(9000, 3000));
        const QVector<DrawnItem> items = draw(picture, device);
        const Scale scale(NormalCurveChart::plotRect(kChart));
        const QString texts = allText(items);

        // Every band is shaded from its low bound to the next band's, and named.
        for (const Band &b : picture.bands) {
            const QRectF area = scale.bandRect(b);
            if (b.high < 40) {
                QVERIFY(area.isEmpty());
                continue;
            }
            QVERIFY2(hasShape(items, area), qPrintable(b.label));
            QVERIFY2(texts.contains(b.label.left(4)), qPrintable(b.label));
        }
        QCOMPARE(picture.bands.size(), 9);
        // Neighbouring bands meet where the upper one starts (70 for 55–69 and 70–79).
        for (int i = 1; i < picture.bands.size(); ++i) {
            if (picture.bands[i - 1].high >= 40)
                QCOMPARE(scale.bandRect(picture.bands[i - 1]).right(), scale.bandRect(picture.bands[i]).left());
        }

        const QVector<double> marks = markLines(items, scale.plot());
        if (band.isEmpty()) {
            QVERIFY(marks.isEmpty());
            QVERIFY(holdsLine(items, note));
            QVERIFY(!texts.contains(QStringLiteral("رتبه درصدي")));
            QVERIFY(!texts.contains(QStringLiteral("فاصله")));
            return;
        }
        QCOMPARE(marks.size(), 1);
        const double x = iq.toDouble();
        QVERIFY2(near(marks[0], scale.x(x)), qPrintable(QString::number(marks[0])));
        const auto it = std::find_if(
            picture.bands.cbegin(), picture.bands.cend(), [&](const Band &b) { return b.label == band; });
        QVERIFY(it != picture.bands.cend());
        const QRectF held = scale.bandRect(*it);
        QVERIFY2(marks[0] >= held.left() - 1 && marks[0] <= held.right() + 1, qPrintable(band));
        QVERIFY(x >= it->low && x <= it->high);
        QVERIFY(holdsLine(items, QStringLiteral("رتبه درصدي 57")));
        QVERIFY(texts.contains(iq + QLatin1Char('|')));

        if (interval.isEmpty()) {
            QVERIFY(!picture.interval);
            QVERIFY(!texts.contains(QStringLiteral("فاصله")));
            return;
        }
        QVERIFY(holdsLine(items, interval));
        QVERIFY(picture.interval);
        const QRectF spread(QPointF(scale.x(picture.interval->low), 0),
            QPointF(scale.x(picture.interval->high), scale.plot().bottom()));
        QVERIFY(hasShape(items, spread));
    }

    void intervalBounds_data()
    {
        QTest::addColumn<double>("iq");
        QTest::addColumn<double>("reliability");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("100, 0.90") << 100.0 << 0.90 << 92 << 108;
        QTest::newRow("100, 0.80") << 100.0 << 0.80 << 89 << 111; // half width 11.03
        QTest::newRow("45 clipped at 40") << 45.0 << 0.80 << 40 << 56;
        QTest::newRow("155 clipped at 160") << 155.0 << 0.80 << 144 << 160;
    }

    void intervalBounds()
    {
        QFETCH(double, iq);
        QFETCH(double, reliability);
        QFETCH(int, low);
        QFETCH(int, high);
        const std::optional<Interval> i = ConfidenceInterval90(iq, reliability);
        QVERIFY(i);
        QCOMPARE(i->low, low);
        QCOMPARE(i->high, high);
        QVERIFY(!ConfidenceInterval90(iq, std::nullopt));
        QVERIFY(!ConfidenceInterval90(iq, 1.0));
        QVERIFY(!ConfidenceInterval90(iq, 0.0));
    }

    void histogramOfRows()
    {
        const QStringList rows { "40", "44", "45", "99", "100", "104 ", "155", "160", "30", ResultTexts::invalid, "" };
        const Picture picture = DistributionCurve(rows);
        QVERIFY(picture.histogram);
        const Histogram &h = *picture.histogram;
        QCOMPARE(h.count, 9); // the invalid and the empty row hold no IQ
        QCOMPARE(h.outside, 1); // 30 lies left of the curve
        QVector<int> expected(BinCount, 0);
        expected[0] = 2; // 40, 44
        expected[1] = 1; // 45
        expected[11] = 1; // 99
        expected[12] = 2; // 100, 104
        expected[23] = 2; // 155 and 160 share the last bin
        QCOMPARE(h.bins, expected);
        const QVector<double> values { 40, 44, 45, 99, 100, 104, 155, 160, 30 };
        double mean = 0;
        for (double v : values)
            mean += v / values.size();
        double ss = 0;
        for (double v : values)
            ss += (v - mean) * (v - mean);
        QVERIFY(std::abs(h.mean - mean) < 1e-9);
        QVERIFY(std::abs(h.sd - std::sqrt(ss / (values.size() - 1))) < 1e-9);
        QVERIFY(picture.summaryText.contains(QStringLiteral("تعداد: 9")));
        QVERIFY(picture.summaryText.contains(QString::number(mean, 'f', 1)));

        RecordingPaintDevice device(QSize(9000, 3000));
        const QVector<DrawnItem> items = draw(picture, device);
        const Scale scale(NormalCurveChart::plotRect(kChart));
        for (int bin = 0; bin < BinCount; ++bin) {
            if (expected[bin] > 0)
                QVERIFY2(hasShape(items, scale.binRect(bin, expected[bin], 2)), qPrintable(QString::number(bin)));
        }
        QVERIFY(markLines(items, scale.plot()).isEmpty());
        QVERIFY(holdsLine(items, picture.summaryText));
    }

    // A view names the bands under its scale when the names can be read,
    // and leaves them out when it is too small for them.
    void viewNamesBandsWhenReadable_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("named");
        QTest::newRow("result panel corner") << QSize(163, 94) << false;
        QTest::newRow("large") << QSize(800, 420) << true;
    }

    void viewNamesBandsWhenReadable()
    {
        QFETCH(QSize, size);
        QFETCH(bool, named);
        NormalCurveView view;
        view.resize(size);
        view.setPicture(ResultCurve(QStringLiteral("104"), QStringLiteral("61"), QStringLiteral("24"), 0.9));
        RecordingPaintDevice device(size * 2);
        view.render(&device);
        const QVector<DrawnItem> &items = device.items();
        const QRectF area = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(2, 2, -2, -2);
        const QRectF plot = NormalCurveChart::plotRect(
            area, 1, named ? NormalCurveChart::BandNames::Below : NormalCurveChart::BandNames::None);
        const Scale scale(plot);
        for (const Band &band : view.picture().bands) {
            const QRectF span = scale.bandRect(band);
            if (span.isEmpty())
                continue;
            QString drawn;
            for (const DrawnItem &i : items) {
                if (i.kind == DrawnItem::Kind::Text && i.rect.center().y() > plot.top()
                    && span.contains(QPointF(i.rect.center().x(), span.center().y())))
                    drawn += i.text;
            }
            drawn.remove(QRegularExpression(QStringLiteral("[0-9]")));
            QCOMPARE(sortedLetters(drawn), named ? sortedLetters(band.label) : QString());
        }
    }

    void emptyRowsGiveAnEmptyHistogram()
    {
        const Picture picture = DistributionCurve({ ResultTexts::invalid });
        QCOMPARE(picture.histogram->count, 0);
        QCOMPARE(picture.histogram->sd, 0.0);
        RecordingPaintDevice device(QSize(9000, 3000));
        draw(picture, device); // nothing to divide by
    }
};

QTEST_MAIN(IqCurveTest)
#include "tst_iqcurve.moc"
