#include "report/BandedReport.h"
#include "report/RecordingPaintDevice.h"

#include <QBuffer>
#include <QTest>

// The renderer on its own: alignment, the band layout over pages, the
// formatting hook and the PDF it writes.
class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void alignment_data();
    void alignment();
    void pagination_data();
    void pagination();
    void formatHookNumbersRows();
    void namedElements();
    void emptyPictureDrawsNothing();
    void pdfEmbedsFonts();
};

namespace {

const QRect kBox(2000, 500, 4000, 375);

BandedReport oneLabel(Qt::Alignment alignment, const QString &text)
{
    BandedReport r;
    ReportBand &h = r.band(BandedReport::Band::ReportHeader);
    h.height = 1000;
    ReportElement &e = h.add(ReportElement::label(QStringLiteral("Label1"), kBox, text));
    e.alignment = alignment | Qt::AlignVCenter;
    e.wrap = false;
    return r;
}

// A list report: header 1000, headings 500, rows 300, footer 800.
BandedReport listReport(int rows, int reportFooter)
{
    BandedReport r;
    r.band(BandedReport::Band::ReportHeader).height = 1000;
    r.band(BandedReport::Band::ReportHeader).add(ReportElement::label("Title", QRect(0, 0, 5000, 400), "Head"));
    r.band(BandedReport::Band::PageHeader).height = 500;
    r.band(BandedReport::Band::PageHeader).add(ReportElement::label("Heading", QRect(0, 0, 5000, 400), "Col"));
    r.band(BandedReport::Band::Detail).height = 300;
    r.band(BandedReport::Band::Detail).add(ReportElement::boundField("Value", QRect(0, 0, 5000, 300), "Code"));
    r.band(BandedReport::Band::PageFooter).height = 800;
    r.band(BandedReport::Band::PageFooter).add(ReportElement::label("Foot", QRect(0, 0, 5000, 400), "Foot"));
    r.band(BandedReport::Band::ReportFooter).height = reportFooter;
    if (reportFooter > 0)
        r.band(BandedReport::Band::ReportFooter).add(ReportElement::label("End", QRect(0, 0, 5000, 200), "End"));
    QVector<QStringList> data;
    for (int i = 0; i < rows; ++i)
        data.append({ QStringLiteral("c%1").arg(i) });
    r.setRows({ QStringLiteral("Code") }, data);
    return r;
}

QRectF textBounds(const RecordingPaintDevice &device)
{
    QRectF all;
    for (const DrawnItem &item : device.itemsOf(DrawnItem::Kind::Text))
        all = all.isNull() ? item.rect : all.united(item.rect);
    return all;
}

} // namespace

void TestReport::alignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("text");
    QTest::newRow("right, Persian") << int(Qt::AlignRight) << QStringLiteral("نام خانوادگي");
    QTest::newRow("right, digits") << int(Qt::AlignRight) << QStringLiteral("1401/07/28");
    QTest::newRow("left, Persian") << int(Qt::AlignLeft) << QStringLiteral("نام خانوادگي");
    QTest::newRow("left, Latin") << int(Qt::AlignLeft) << QStringLiteral("info@clinic.example");
    QTest::newRow("centre, Persian") << int(Qt::AlignHCenter) << QStringLiteral("سرآمد Superior");
}

void TestReport::alignment()
{
    QFETCH(int, alignment);
    QFETCH(QString, text);
    auto device = RecordingPaintDevice::record(oneLabel(Qt::Alignment(alignment), text));
    const QRectF drawn = textBounds(*device);
    QVERIFY(!drawn.isNull());
    QVERIFY2(drawn.width() < kBox.width() * 0.9, "the text should be narrower than its box");
    const qreal slack = 30; // two pixels of side bearing
    if (alignment == Qt::AlignRight) {
        QVERIFY2(qAbs(drawn.right() - kBox.right()) < slack, qPrintable(QString::number(drawn.right())));
    } else if (alignment == Qt::AlignLeft) {
        QVERIFY2(qAbs(drawn.left() - kBox.left()) < slack, qPrintable(QString::number(drawn.left())));
    } else {
        QVERIFY(qAbs(drawn.center().x() - kBox.center().x()) < slack);
    }
    // Vertically inside the box's row, whatever the direction.
    QVERIFY(qAbs(drawn.center().y() - QRectF(kBox).center().y()) < 100);
    QCOMPARE(device->textsIn(QRectF(kBox).adjusted(-50, -200, 50, 200)).join(QString()).remove(' ').size(),
        QString(text).remove(' ').size());
}

void TestReport::pagination_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("reportFooter");
    QTest::addColumn<int>("pages");
    // A4 with 10 mm top and bottom: 15704 twips. First page 1000 + 500 + 800
    // leave 13404 for 44 rows; later pages 14404 for 48 rows.
    QTest::newRow("no rows") << 0 << 0 << 1;
    QTest::newRow("one page full") << 44 << 0 << 1;
    QTest::newRow("one row over") << 45 << 0 << 2;
    QTest::newRow("120 rows") << 120 << 0 << 3;
    QTest::newRow("report footer fits") << 10 << 300 << 1;
    QTest::newRow("report footer moves on") << 44 << 300 << 2;
}

void TestReport::pagination()
{
    QFETCH(int, rows);
    QFETCH(int, reportFooter);
    QFETCH(int, pages);
    const BandedReport report = listReport(rows, reportFooter);
    auto device = RecordingPaintDevice::record(report);
    QCOMPARE(device->pageCount(), pages);

    int values = 0;
    for (int p = 0; p < pages; ++p) {
        const QStringList texts = [&] {
            QStringList t;
            for (const DrawnItem &item : device->itemsOf(DrawnItem::Kind::Text, p))
                t << item.text;
            return t;
        }();
        QCOMPARE(texts.count("Head"), p == 0 ? 1 : 0);
        QCOMPARE(texts.count("Col"), 1);
        QCOMPARE(texts.count("Foot"), 1);
        QCOMPARE(texts.count("End"), reportFooter > 0 && p == pages - 1 ? 1 : 0);
        values += int(std::count_if(texts.cbegin(), texts.cend(), [](const QString &t) { return t.startsWith('c'); }));
        // The page footer stands at the foot of the page, every row above it.
        const QStringList foot = device->textsIn(QRectF(0, report.printableHeight() - 800, 6000, 800), p);
        QCOMPARE(foot, QStringList { "Foot" });
    }
    QCOMPARE(values, rows);
}

void TestReport::formatHookNumbersRows()
{
    BandedReport report = listReport(5, 0);
    report.element("Section1", "Value")->format = [](const QString &, int row) { return QString::number(row + 1); };
    for (int run = 0; run < 2; ++run) { // a second layout starts again at 1
        auto device = RecordingPaintDevice::record(report);
        QStringList numbers;
        for (const DrawnItem &item : device->itemsOf(DrawnItem::Kind::Text)) {
            if (item.text.at(0).isDigit())
                numbers << item.text;
        }
        QCOMPARE(numbers, (QStringList { "1", "2", "3", "4", "5" }));
    }
}

void TestReport::namedElements()
{
    BandedReport report = listReport(1, 0);
    QVERIFY(report.setCaption("section4", "TITLE", "Clinic"));
    QVERIFY(!report.setCaption("Section4", "Nothing", "x"));
    QVERIFY(!report.setCaption("Section9", "Title", "x"));
    QCOMPARE(report.element("Section4", "Title")->text, QStringLiteral("Clinic"));
    QCOMPARE(report.section("Section1"), &report.band(BandedReport::Band::Detail));
}

void TestReport::emptyPictureDrawsNothing()
{
    BandedReport report = listReport(0, 0);
    report.band(BandedReport::Band::ReportHeader).add(ReportElement::image("Image4", QRect(0, 0, 1000, 1000)));
    QCOMPARE(RecordingPaintDevice::record(report)->itemsOf(DrawnItem::Kind::Picture).size(), 0);

    QImage logo(200, 100, QImage::Format_RGB32);
    logo.fill(Qt::red);
    QVERIFY(report.setPicture("Section4", "Image4", logo));
    const auto pictures = RecordingPaintDevice::record(report)->itemsOf(DrawnItem::Kind::Picture);
    QCOMPARE(pictures.size(), 1);
    // Scaled into its place keeping its proportions.
    QCOMPARE(pictures[0].rect, QRectF(0, 250, 1000, 500));
}

void TestReport::pdfEmbedsFonts()
{
    BandedReport report = listReport(60, 0);
    report.setCaption("Section4", "Title", QStringLiteral("آزمون"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(report.writePdf(&buffer));
    const QByteArray pdf = buffer.data();
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.contains("/FontFile2"));
    QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);

    QString error;
    QVERIFY(!report.writePdf(QStringLiteral("/nonexistent-folder/x.pdf"), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
