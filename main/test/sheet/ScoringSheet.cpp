#include "test/sheet/ScoringSheet.h"

#include "data/AppInfo.h"
#include "data/AppPaths.h"
#include "data/RecordSource.h"
#include "report/NormalCurveChart.h"
#include "report/ReportPreview.h"
#include "test/sheet/ScoringSheetTexts.h"
#include "ui/Twips.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>

namespace {

namespace Text = ScoringSheetTexts;

const QString kIqCaption = QStringLiteral("IQ:");
const QRect kExactAgeBox(1400, 450, 1650, 360);

constexpr int kSheetWidth = 8925;
constexpr int kFormHeight = 11520;

// Tops of the answer boxes: items 1..18 in the right-hand column, 19..36 in
// the left-hand one.
constexpr int kTopsRight[18]
    = { 2592, 2976, 3360, 3648, 4032, 4416, 4800, 5184, 5472, 5856, 6240, 6528, 6912, 7296, 7584, 7968, 8352, 8690 };
constexpr int kTopsLeft[18]
    = { 2688, 2976, 3360, 3744, 4032, 4416, 4800, 5184, 5472, 5856, 6240, 6528, 6912, 7296, 7584, 7968, 8352, 8736 };

// The boxes follow the form's rows: 288 high, 240 where the rows stand
// closer together.
int boxHeight(const int *tops, int index)
{
    const int gap = index < 17 ? tops[index + 1] - tops[index] : 384;
    return gap >= 384 ? 288 : 240;
}

// The form picture is large; it is decoded once per file version.
QImage answerForm(const QString &path)
{
    static QString cachedPath;
    static QDateTime cachedTime;
    static QImage cached;
    const QFileInfo info(path);
    if (!info.exists())
        return QImage();
    if (path != cachedPath || info.lastModified() != cachedTime) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        cached = reader.read();
        cachedPath = path;
        cachedTime = info.lastModified();
    }
    return cached;
}

ReportElement textLabel(const QString &name, int l, int t, int w, int h, Qt::Alignment align, qreal pt = 11)
{
    ReportElement e = ReportElement::label(name, QRect(l, t, w, h));
    e.alignment = align;
    e.pointSize = pt;
    return e;
}

const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

} // namespace

bool ReadStoredAnswers(RecordSource *answerSource, const QString &code, ScoringSheet *sheet)
{
    sheet->answers.fill(QString());
    if (!answerSource)
        return false;
    if (!answerSource->refreshWhere(QStringLiteral("code"), code) || answerSource->rowCount() == 0)
        return false;
    for (int i = 0; i < 36; ++i) {
        const int f = answerSource->fieldIndex(QString::number(i + 1));
        sheet->answers[size_t(i)] = f >= 0 ? answerSource->value(0, f) : QString();
    }
    return true;
}

QString ScoringSheetFullName(const ScoringSheet &sheet)
{
    return sheet.firstName + QLatin1Char(' ') + sheet.lastName;
}

QRect ScoringSheetAnswerBox(int item)
{
    if (item < 1 || item > 36)
        return QRect();
    const bool right = item <= 18;
    const int index = right ? item - 1 : item - 19;
    const int *tops = right ? kTopsRight : kTopsLeft;
    return QRect(right ? 6720 : 4800, tops[index], 675, boxHeight(tops, index));
}

QRect ScoringSheetCurveBox()
{
    return QRect(240, 9110, 4440, 1850);
}

BandedReport BuildScoringSheet(const ScoringSheet &sheet)
{
    BandedReport r;
    r.title = AppInfo::title() + QLatin1Char(' ') + sheet.code;
    // The sheet is narrower than the paper: centre it.
    const qreal side = (210.0 - kSheetWidth * 25.4 / 1440) / 2;
    r.pageLayout.setMargins(QMarginsF(side, 15, side, 10));

    ReportBand &header = r.band(BandedReport::Band::ReportHeader);
    header.height = 420;
    ReportElement &name = header.add(textLabel(QStringLiteral("Label2"), 0, 38, kSheetWidth, 375, Qt::AlignCenter));
    name.fontFamily = QStringLiteral("B Titr");
    name.pointSize = 12;
    name.text = sheet.clinicName;

    ReportBand &detail = r.band(BandedReport::Band::Detail);
    detail.height = kFormHeight;
    ReportElement &form
        = detail.add(ReportElement::image(QStringLiteral("Image1"), QRect(0, 0, kSheetWidth, kFormHeight)));
    form.picture
        = answerForm(sheet.answerFormPath.isEmpty() ? AppPaths::contentDir() + QStringLiteral("/answer_form.png")
                                                    : sheet.answerFormPath);
    ReportElement &logo = detail.add(ReportElement::image(QStringLiteral("Image4"), QRect(112, 94, 1251, 1153)));
    if (sheet.clinic.showLogo)
        logo.picture = sheet.clinic.logo;
    if (sheet.curve) {
        ReportElement &chart = detail.add(
            ReportElement::make(ReportElement::Kind::Drawing, QStringLiteral("ChartIq"), ScoringSheetCurveBox()));
        const NormalCurveChart drawing(*sheet.curve);
        chart.draw = [drawing](QPainter &painter, const QRectF &rect) { drawing.paint(painter, rect); };
    }
    detail.add(textLabel(QStringLiteral("Label1"), 192, 1728, 672, 375, kLeft, 12)).text = kIqCaption;
    detail.add(textLabel(QStringLiteral("Lbliq"), 672, 1728, 2496, 375, kLeft, 12)).text = sheet.iq;
    detail.add(textLabel(QStringLiteral("Label3"), 1776, 1701, 5340, 375, kLeft, 12)).text = sheet.classification;
    detail.add(textLabel(QStringLiteral("LblN"), 4573, 831, 2385, 375, kRight)).text = ScoringSheetFullName(sheet);
    detail.add(textLabel(QStringLiteral("LblT"), 2206, 814, 1379, 375, kRight)).text = sheet.birthDate;
    detail.add(textLabel(QStringLiteral("LblS"), 1340, 826, 570, 375, kRight)).text = sheet.age;
    // The exact age in the free space above the age and the birth date,
    // between the logo and the form's title.
    if (!sheet.exactAge.isEmpty()) {
        ReportElement &exact = detail.add(textLabel(QStringLiteral("LblSD"), kExactAgeBox.x(), kExactAgeBox.y(),
            kExactAgeBox.width(), kExactAgeBox.height(), kRight, 10));
        exact.wrap = false;
        exact.text = Text::exactAgeCaption + sheet.exactAge;
    }
    detail.add(textLabel(QStringLiteral("LblT2"), 5322, 1306, 2276, 375, kRight)).text = sheet.education;
    detail.add(textLabel(QStringLiteral("LblA"), 2683, 1360, 1920, 375, kRight)).text = sheet.examiner;
    detail.add(textLabel(QStringLiteral("LblT3"), 292, 1344, 1202, 375, kRight)).text = sheet.testDate;

    QStringList fields;
    QStringList values;
    for (int item = 1; item <= 36; ++item) {
        const QString field = QString::number(item);
        const QString boxName = item == 1 ? QStringLiteral("txt1") : QStringLiteral("Text%1").arg(item - 1);
        ReportElement &box = detail.add(ReportElement::boundField(boxName, ScoringSheetAnswerBox(item), field));
        box.fontFamily = QStringLiteral("Arial");
        box.pointSize = 10;
        box.wrap = false;
        fields << field;
        values << sheet.answers[size_t(item - 1)];
    }

    ReportBand &footer = r.band(BandedReport::Band::PageFooter);
    footer.height = 1784;
    footer.add(ReportElement::hrule(QStringLiteral("Line1"), 0, 29, 8907));
    footer.add(ReportElement::hrule(QStringLiteral("Line2"), 0, 67, 8907));
    ReportElement &address
        = footer.add(textLabel(QStringLiteral("Label11"), 4460, 103, 4272, 1343, Qt::AlignRight | Qt::AlignTop, 10));
    address.text = sheet.clinicAddress;
    ReportElement &contact
        = footer.add(textLabel(QStringLiteral("Label14"), 105, 103, 4238, 1343, Qt::AlignLeft | Qt::AlignTop, 9.75));
    contact.fontFamily = QStringLiteral("Calibri");
    contact.direction = Qt::LeftToRight;
    contact.text = sheet.clinic.summary;
    // Every sheet names the items and norms that scored it.
    ReportElement &materials
        = footer.add(textLabel(QStringLiteral("LblContent"), 105, 1470, 8627, 270, Qt::AlignCenter, 8));
    materials.wrap = false;
    materials.text = sheet.materials;

    // One data row: the examinee's stored answers.
    r.setRows(fields, { values });
    return r;
}

bool RenderScoringSheet(const ScoringSheet &sheet, QPagedPaintDevice *device)
{
    return BuildScoringSheet(sheet).render(device);
}

ReportPreview *PrintScoringSheet(QWidget *owner, const ScoringSheet &sheet)
{
    return ReportPreview::open(owner, BuildScoringSheet(sheet), QRect(40, 20, 820, 980));
}
