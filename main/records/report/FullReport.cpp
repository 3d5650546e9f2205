#include "records/report/FullReport.h"

#include "data/RecordSource.h"
#include "records/report/FullReportTexts.h"
#include "report/ReportPreview.h"
#include "ui/Twips.h"

namespace {

namespace Text = FullReportTexts;

constexpr int kWidth = 10425;

struct Column
{
    const char *heading;
    int headingX, headingWidth;
    const char *field;
    int valueX, valueWidth;
};

// Right to left, as the table reads.
const Column kColumns[] = {
    { "رديف", 9865, 525, "Code", 9888, 474 },
    { "کد", 9290, 525, "Code", 9298, 555 },
    { "نام ", 8156, 1158, "FName", 8242, 1035 },
    { "نام خانوادگي", 7022, 1170, "LName", 6994, 1131 },
    { "گروه", 6329, 663, "Group", 6336, 637 },
    { "سن", 5763, 594, "Sen", 5746, 555 },
    { "تحصيلات", 4509, 1205, "Tahsil", 4498, 1227 },
    { "تاريخ اجرا", 3255, 1205, "DateEjra", 3250, 1227 },
    { "نمره خام", 2488, 715, "NKham", 2482, 747 },
    { "رتبه درصدي", 1462, 1019, "RDarsadi", 1426, 1035 },
    { "هوشبهر", 0, 1411, "Hooshbahr", 0, 1419 },
};

constexpr int kRules[] = { 0, 1460, 2486, 3246, 4500, 5754, 6362, 7008, 8186, 9288, 9858, 10420 };

ReportElement tableText(ReportElement e, qreal pt = 9.75)
{
    e.pointSize = pt;
    e.wrap = false;
    return e;
}

void addRules(ReportBand &band, const QString &prefix, int height)
{
    int n = 0;
    for (int x : kRules)
        band.add(ReportElement::vrule(prefix + QString::number(++n), x, 0, height));
}

} // namespace

FullReportClinic FullReportClinicFrom(const RecordSource &theme, const ClinicValues &values)
{
    FullReportClinic clinic { theme.storedField(QStringLiteral("Name")), theme.storedField(QStringLiteral("Adress")),
        values };
    QStringList lines;
    for (const QString &field : kClinicContactFields)
        lines << theme.storedField(field);
    clinic.values.summary = ClinicSummary(lines);
    return clinic;
}

BandedReport BuildFullReport(const RecordSource &ide, const FullReportClinic &clinic)
{
    BandedReport r;
    r.title = Text::title;
    // Printable width 10425 twips and a little more, on A4 (the paper's
    // points round the margins).
    const qreal side = 12.5;
    r.pageLayout.setMargins(QMarginsF(side, 10, side, 10));

    ReportBand &header = r.band(BandedReport::Band::ReportHeader);
    header.height = 1830;
    header.add(ReportElement::image(QStringLiteral("Image2"), QRect(0, 0, kWidth, 1830)));
    ReportElement &name = header.add(ReportElement::label(QStringLiteral("Label9"), QRect(1474, 455, 8894, 510)));
    name.pointSize = 14.25;
    ReportElement &title
        = header.add(ReportElement::label(QStringLiteral("Label3"), QRect(1512, 1130, 8808, 510), Text::testTitle));
    title.pointSize = 12;
    header.add(ReportElement::image(QStringLiteral("Image4"), QRect(112, 436, 1251, 1192)));

    ReportBand &headings = r.band(BandedReport::Band::PageHeader);
    headings.height = 510;
    headings.add(ReportElement::hrule(QStringLiteral("Line1"), 0, 0, kWidth));
    headings.add(ReportElement::hrule(QStringLiteral("Line2"), 0, 504, kWidth));
    addRules(headings, QStringLiteral("HeadRule"), 504);

    ReportBand &detail = r.band(BandedReport::Band::Detail);
    detail.height = 315;
    addRules(detail, QStringLiteral("RowRule"), 315);
    detail.add(ReportElement::hrule(QStringLiteral("RowLine"), 0, 312, kWidth));

    int n = 0;
    for (const Column &c : kColumns) {
        ++n;
        const QString field = QString::fromLatin1(c.field);
        const int headingY = n == 1 ? 75 : 96;
        const int headingH = n == 1 ? 375 : n == 11 ? 414 : 369;
        headings.add(tableText(ReportElement::label(QStringLiteral("Heading%1").arg(n),
            QRect(c.headingX, headingY, c.headingWidth, headingH), QString::fromUtf8(c.heading))));
        ReportElement &value = detail.add(tableText(
            ReportElement::boundField(QStringLiteral("Value%1").arg(n), QRect(c.valueX, 0, c.valueWidth, 300), field)));
        if (field == QLatin1String("Group"))
            value.fontFamily = QStringLiteral("Arial");
    }
    // The row column is bound to Code; the hook turns it into the row number,
    // which starts at 1 in every report.
    detail.element(QStringLiteral("Value1"))->format
        = [](const QString &, int row) { return QString::number(row + 1); };

    ReportBand &footer = r.band(BandedReport::Band::PageFooter);
    footer.height = 1746;
    footer.add(ReportElement::hrule(QStringLiteral("Line3"), 0, 29, 10389));
    footer.add(ReportElement::hrule(QStringLiteral("Line4"), 0, 67, 10389));
    ReportElement &address = footer.add(ReportElement::label(QStringLiteral("Label14"), QRect(5258, 103, 5070, 1343)));
    address.fontFamily = QStringLiteral("B Titr");
    address.alignment = Qt::AlignRight | Qt::AlignTop;
    ReportElement &contact = footer.add(ReportElement::label(QStringLiteral("Label15"), QRect(105, 103, 4998, 1343)));
    contact.fontFamily = QStringLiteral("Calibri");
    contact.alignment = Qt::AlignLeft | Qt::AlignTop;
    contact.direction = Qt::LeftToRight;
    // The report names the items and norms that scored its results.
    ReportElement &materials
        = footer.add(ReportElement::label(QStringLiteral("LblContent"), QRect(105, 1470, 10223, 270)));
    materials.alignment = Qt::AlignCenter;
    materials.pointSize = 8;
    materials.wrap = false;
    materials.text = clinic.materials;

    r.band(BandedReport::Band::ReportFooter).name = QStringLiteral("Section5");

    // The caller's fill: data source, logo, clinic name, address, contacts.
    r.setDataSource(ide);
    if (clinic.values.showLogo)
        r.setPicture(QStringLiteral("Section4"), QStringLiteral("Image4"), clinic.values.logo);
    r.setCaption(QStringLiteral("Section4"), QStringLiteral("Label9"), clinic.name);
    r.setCaption(QStringLiteral("Section3"), QStringLiteral("Label14"), clinic.address);
    r.setCaption(QStringLiteral("Section3"), QStringLiteral("Label15"), clinic.values.summary);
    return r;
}

bool RenderFullReport(const RecordSource &ide, const FullReportClinic &clinic, QPagedPaintDevice *device)
{
    return BuildFullReport(ide, clinic).render(device);
}

QRect FullReportPreviewGeometry()
{
    return QRect(120, 450, 15120, 10950);
}

ReportPreview *PrintFullReport(QWidget *owner, const RecordSource &ide, const FullReportClinic &clinic)
{
    return ReportPreview::open(owner, BuildFullReport(ide, clinic), Twips::rect(FullReportPreviewGeometry()));
}
