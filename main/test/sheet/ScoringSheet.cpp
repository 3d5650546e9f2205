#include "test/sheet/ScoringSheet.h"

#include "common/LeadingNumber.h"
#include "data/AppInfo.h"
#include "data/AppPaths.h"
#include "data/RecordSource.h"
#include "report/NormalCurveChart.h"
#include "report/ReportPreview.h"
#include "test/sheet/ItemAnalysisTexts.h"
#include "test/sheet/ScoringSheetTexts.h"
#include "ui/Twips.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

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

// The item analysis table: five columns, read right to left, centred on
// the sheet's width.
constexpr int kTableTop = 1100;
constexpr int kHeadRowHeight = 420;
constexpr int kRowHeight = 300;
constexpr int kColumnWidths[5] = { 900, 1500, 1500, 1900, 1500 }; // item, choice, result, time, changes
constexpr int kTableWidth = 900 + 1500 + 1500 + 1900 + 1500;
constexpr int kTableLeft = (kSheetWidth - kTableWidth) / 2;
constexpr int kTableBottom = kTableTop + kHeadRowHeight + 36 * kRowHeight;

// Left edge of column \a c (0 is the right-hand one).
int columnLeft(int c)
{
    int right = kTableLeft + kTableWidth;
    for (int i = 0; i <= c; ++i)
        right -= kColumnWidths[i];
    return right;
}

QRect cell(int item, int column)
{
    const QRect row = ItemAnalysisRow(item);
    return QRect(columnLeft(column), row.top(), kColumnWidths[column], row.height());
}

// Shading, rules and frame of the table; the texts are labels above it.
void paintAnalysisGrid(QPainter &p, const ItemAnalysis &analysis)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 228, 219));
    p.drawRect(ItemAnalysisRow(0));
    for (int item = 1; item <= 36; ++item) {
        if (!analysis.items[size_t(item - 1)].correct)
            p.setBrush(QColor(250, 236, 234));
        else if (item % 2 == 0)
            p.setBrush(QColor(243, 246, 244));
        else
            continue;
        p.drawRect(ItemAnalysisRow(item));
    }
    p.setBrush(Qt::NoBrush);
    QPen thin(QColor(170, 180, 174), 8);
    thin.setCapStyle(Qt::FlatCap);
    p.setPen(thin);
    for (int item = 2; item <= 36; ++item) {
        const int y = ItemAnalysisRow(item).top();
        p.drawLine(kTableLeft, y, kTableLeft + kTableWidth, y);
    }
    for (int c = 0; c < 4; ++c) {
        const int x = columnLeft(c);
        p.drawLine(x, kTableTop, x, kTableBottom);
    }
    QPen frame(Qt::black, 14);
    frame.setJoinStyle(Qt::MiterJoin);
    p.setPen(frame);
    p.drawRect(QRect(kTableLeft, kTableTop, kTableWidth, kTableBottom - kTableTop));
    p.drawLine(kTableLeft, ItemAnalysisRow(1).top(), kTableLeft + kTableWidth, ItemAnalysisRow(1).top());
}

void addItemAnalysis(BandedReport &r, const ScoringSheet &sheet, const ItemAnalysis &analysis)
{
    namespace T = ItemAnalysisTexts;
    ReportBand &page = r.band(BandedReport::Band::ReportFooter);
    page.startsPage = true;
    page.height = ItemAnalysisSummaryBox().bottom() + 1;

    ReportElement &heading = page.add(textLabel(QStringLiteral("LblIA"), 0, 0, kSheetWidth, 520, Qt::AlignCenter, 14));
    heading.fontFamily = QStringLiteral("B Titr");
    heading.text = T::heading;
    // Who and when, so that a loose second sheet still names its child.
    const struct
    {
        const char *name;
        QString text;
        int left;
        int width;
    } who[] = {
        { "LblIAN", T::name.arg(ScoringSheetFullName(sheet)), 4700, 3500 },
        { "LblIAK", T::code.arg(sheet.code), 2900, 1700 },
        { "LblIAT", T::testDate.arg(sheet.testDate), 700, 2100 },
    };
    for (const auto &w : who) {
        ReportElement &e = page.add(textLabel(QLatin1String(w.name), w.left, 600, w.width, 380, kRight, 11));
        e.wrap = false;
        e.text = w.text;
    }
    page.add(ReportElement::hrule(QStringLiteral("LineIA"), kTableLeft, 1010, kTableWidth));

    ReportElement &grid = page.add(ReportElement::make(ReportElement::Kind::Drawing, QStringLiteral("GridIA"),
        QRect(kTableLeft, kTableTop, kTableWidth, kTableBottom - kTableTop)));
    grid.draw = [analysis](QPainter &painter, const QRectF &) { paintAnalysisGrid(painter, analysis); };

    const QString heads[5] = { T::item, T::choice, T::result, T::time, T::changes };
    for (int c = 0; c < 5; ++c) {
        const QRect box = cell(0, c);
        ReportElement &e = page.add(textLabel(
            QStringLiteral("HeadIA%1").arg(c), box.x(), box.y(), box.width(), box.height(), Qt::AlignCenter, 10.5));
        e.wrap = false;
        e.text = heads[c];
    }
    for (int item = 1; item <= 36; ++item) {
        const ItemAnalysis::Item &i = analysis.items[size_t(item - 1)];
        const bool answered = LenientNumber(i.choice) >= 1;
        const QString texts[5]
            = { QString::number(item), answered ? i.choice : T::noAnswer, i.correct ? T::right : T::wrong,
                  i.finalLatencyMs ? SecondsText(*i.finalLatencyMs) : T::noTime, QString::number(i.changes) };
        for (int c = 0; c < 5; ++c) {
            const QRect box = cell(item, c);
            ReportElement &e = page.add(textLabel(QStringLiteral("IA%1_%2").arg(item).arg(c), box.x(), box.y(),
                box.width(), box.height(), Qt::AlignCenter, 10));
            e.wrap = false;
            // Numbers in a plain face line up; the words stay in the sheet's.
            if (c != 2 && (c != 1 || answered))
                e.fontFamily = QStringLiteral("Arial");
            e.bold = c <= 2;
            e.text = texts[c];
        }
    }

    const QRect summary = ItemAnalysisSummaryBox();
    const QString totals[3] = { T::totalTime.arg(TotalTimeText(analysis.totalMs)),
        T::correctCount.arg(analysis.correctCount()), T::changeCount.arg(analysis.changeCount()) };
    const int third = summary.width() / 3;
    for (int k = 0; k < 3; ++k) {
        ReportElement &e = page.add(textLabel(QStringLiteral("LblIAS%1").arg(k), summary.right() + 1 - third * (k + 1),
            summary.top(), third, summary.height(), k == 0 ? kRight : (k == 1 ? Qt::AlignCenter : kLeft), 11));
        e.wrap = false;
        e.text = totals[k];
    }
}

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

QRect ItemAnalysisRow(int item)
{
    if (item < 0 || item > 36)
        return QRect();
    if (item == 0)
        return QRect(kTableLeft, kTableTop, kTableWidth, kHeadRowHeight);
    return QRect(kTableLeft, kTableTop + kHeadRowHeight + (item - 1) * kRowHeight, kTableWidth, kRowHeight);
}

QRect ItemAnalysisSummaryBox()
{
    return QRect(kTableLeft, kTableBottom + 160, kTableWidth, 400);
}

QString TotalTimeText(const std::optional<qint64> &ms)
{
    if (!ms)
        return ItemAnalysisTexts::notTimed;
    const qint64 seconds = (*ms + 500) / 1000;
    if (seconds < 60)
        return ItemAnalysisTexts::seconds.arg(seconds);
    return ItemAnalysisTexts::minutesSeconds.arg(seconds / 60).arg(seconds % 60);
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
        // Named under the scale: upright names inside the narrow bands crowd the mark.
        const NormalCurveChart drawing(*sheet.curve, 1, NormalCurveChart::BandNames::Below);
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

    if (sheet.analysis)
        addItemAnalysis(r, sheet, *sheet.analysis);

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
    // A window of its own: it stays when the test window closes, and it is
    // made smaller on screens shorter than the page.
    return ReportPreview::openOwnWindow(
        BuildScoringSheet(sheet), QSize(820, 980), owner ? owner->screen() : QGuiApplication::primaryScreen());
}
