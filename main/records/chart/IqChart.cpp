#include "records/chart/IqChart.h"

#include "calendar/Clock.h"
#include "calendar/ShamsiCalendar.h"
#include "data/RecordSource.h"
#include "data/SqlFailure.h"
#include "records/chart/IqChartTexts.h"
#include "report/NormalCurveChart.h"
#include "test/scoring/ResultCurve.h"
#include "ui/Fonts.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextOption>

#include <algorithm>

namespace T = IqChartTexts;

namespace {

const QColor kInk(58, 74, 68);

// Title, subtitle and footnote sizes follow the page, so screen, paper and
// picture look alike.
double unitOf(const QRectF &rect)
{
    return std::min(rect.height() / 16, rect.width() / 28);
}

void drawLine(QPainter &p, const QRectF &box, const QString &text, const QString &family, double size, bool bold)
{
    if (text.isEmpty())
        return;
    QFont font(Fonts::resolve(family));
    font.setPixelSize(std::max(1, int(size)));
    font.setBold(bold);
    // A long clinic name is set smaller rather than cut off.
    const double wide = QFontMetricsF(font).horizontalAdvance(text);
    if (wide > box.width())
        font.setPixelSize(std::max(1, int(font.pixelSize() * box.width() / wide)));
    p.setFont(font);
    QTextOption o(Qt::AlignCenter);
    o.setTextDirection(Qt::RightToLeft);
    o.setWrapMode(QTextOption::NoWrap);
    p.drawText(box, text, o);
}

// Writes through a temporary file, so a failed save leaves no half file
// under the chosen name.
template <typename Write> bool saveThrough(const QString &path, QString *error, Write write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = FileFailureText(file);
        return false;
    }
    if (!write(file)) {
        file.cancelWriting();
        if (error)
            *error = file.error() != QFileDevice::NoError ? FileFailureText(file) : T::writeFailed;
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = FileFailureText(file);
        return false;
    }
    return true;
}

} // namespace

QStringList ShownIqTexts(const RecordSource &ide)
{
    QStringList texts;
    const int field = ide.fieldIndex(QStringLiteral("Hooshbahr"));
    if (field < 0)
        return texts;
    texts.reserve(ide.rowCount());
    for (int row = 0; row < ide.rowCount(); ++row)
        texts << ide.value(row, field);
    return texts;
}

IqChartPage ChartOfIqTexts(const QStringList &iqTexts, const QString &clinicName, const QString &which)
{
    IqChartPage page;
    page.title = T::pageTitle;
    const QString name = clinicName.trimmed();
    page.subtitle = name.isEmpty() ? which : name + T::separator + which;
    page.picture = DistributionCurve(iqTexts);
    page.leftOut = int(iqTexts.size()) - page.picture.histogram->count;
    QStringList notes;
    if (page.leftOut > 0)
        notes << T::leftOut.arg(page.leftOut);
    else if (!iqTexts.isEmpty())
        notes << T::noneLeftOut;
    notes << T::date.arg(ShamsiDate(Clock::now(), 0));
    page.footnote = notes.join(T::separator);
    return page;
}

IqChartPage ChartOfShownRows(const RecordSource &ide, const QString &clinicName, const QString &which)
{
    return ChartOfIqTexts(ShownIqTexts(ide), clinicName, which);
}

QRectF IqChartArea(const QRectF &rect)
{
    const double u = unitOf(rect);
    return rect.adjusted(0, u * 3.1, 0, -u * 1.5);
}

void PaintIqChartPage(QPainter &p, const QRectF &rect, const IqChartPage &page)
{
    const double u = unitOf(rect);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(kInk);
    drawLine(p, QRectF(rect.left(), rect.top(), rect.width(), u * 1.7), page.title, QStringLiteral("B Titr"), u, false);
    drawLine(p, QRectF(rect.left(), rect.top() + u * 1.7, rect.width(), u * 1.2), page.subtitle,
        QStringLiteral("B Nazanin"), u * 0.72, true);
    // The bands are named under the scale, clear of the bars.
    NormalCurveChart(page.picture, kIqChartTextScale, NormalCurveChart::BandNames::Below).paint(p, IqChartArea(rect));
    p.setPen(kInk);
    drawLine(p, QRectF(rect.left(), rect.bottom() - u * 1.2, rect.width(), u * 1.2), page.footnote,
        QStringLiteral("B Nazanin"), u * 0.6, false);
    p.restore();
}

QPageLayout IqChartPageLayout()
{
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

bool RenderIqChart(const IqChartPage &page, QPagedPaintDevice *device)
{
    if (!device)
        return false;
    QPainter painter;
    if (!painter.begin(device))
        return false;
    PaintIqChartPage(painter, QRectF(0, 0, device->width(), device->height()), page);
    return painter.end();
}

bool WriteIqChartPdf(const IqChartPage &page, const QString &path, QString *error)
{
    return saveThrough(path, error, [&](QIODevice &out) {
        QPdfWriter writer(&out);
        writer.setResolution(1200);
        writer.setTitle(page.title);
        writer.setCreator(QStringLiteral("Pelorin"));
        writer.setPageLayout(IqChartPageLayout());
        return RenderIqChart(page, &writer);
    });
}

QImage IqChartImage(const IqChartPage &page, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const double margin = std::min(size.width(), size.height()) * 0.03;
    PaintIqChartPage(p, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(margin, margin, -margin, -margin), page);
    p.end();
    return image;
}

bool WriteIqChartPng(const IqChartPage &page, const QString &path, QString *error)
{
    const QImage image = IqChartImage(page);
    return saveThrough(path, error, [&](QIODevice &out) { return image.save(&out, "PNG"); });
}
