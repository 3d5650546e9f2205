#pragma once

#include "report/IqCurve.h"

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;
class RecordSource;

/// The page of the IQ chart: which rows it shows, the histogram of their IQs
/// over the normal curve, and how many rows had no IQ to show.
struct IqChartPage
{
    QString title;
    QString subtitle; ///< the clinic and which rows
    IqCurve::Picture picture;
    int leftOut = 0; ///< rows without a valid IQ
    QString footnote; ///< says leftOut, and the date
};

/// The IQ texts (Hooshbahr) of the visible rows of an IDE record source, in
/// its order: the rows the grid shows and the full report lists.
QStringList ShownIqTexts(const RecordSource &ide);

/// The chart of those rows. \a which names them (the search in effect).
IqChartPage ChartOfShownRows(const RecordSource &ide, const QString &clinicName, const QString &which);
IqChartPage ChartOfIqTexts(const QStringList &iqTexts, const QString &clinicName, const QString &which);

/// Where the curve lies on a page drawn into \a rect (between the titles and
/// the footnote), and how large its texts are set; the bands are named
/// under its scale.
QRectF IqChartArea(const QRectF &rect);
inline constexpr double kIqChartTextScale = 0.6;
/// Paints the page into \a rect of any painter, in its units.
void PaintIqChartPage(QPainter &painter, const QRectF &rect, const IqChartPage &page);

/// Landscape A4, the page the chart is printed on.
QPageLayout IqChartPageLayout();
/// The page on a printer or PDF writer, in the device's own page layout.
bool RenderIqChart(const IqChartPage &page, QPagedPaintDevice *device);
/// The page as PDF: vector drawing and embedded fonts.
bool WriteIqChartPdf(const IqChartPage &page, const QString &path, QString *error);

/// Size of the saved picture, in pixels.
inline constexpr QSize kIqChartPngSize(1800, 1100);
QImage IqChartImage(const IqChartPage &page, const QSize &size = kIqChartPngSize);
bool WriteIqChartPng(const IqChartPage &page, const QString &path, QString *error);
