#pragma once

#include "report/ReportBand.h"

#include <QPageLayout>
#include <QStringList>
#include <QVector>

#include <array>
#include <functional>

class QIODevice;
class QPagedPaintDevice;
class QPainter;
class RecordSource;

/// A banded report: report header once, then per page the page header, as
/// many detail rows as fit and the page footer at the foot of the page; the
/// report footer after the last row. One paint routine serves the preview,
/// the printer and PDF. Geometry is in twips from the top-left corner of the
/// page's printable area.
class BandedReport
{
public:
    enum class Band { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };

    BandedReport();

    ReportBand &band(Band b) { return m_bands[size_t(b)]; }
    const ReportBand &band(Band b) const { return m_bands[size_t(b)]; }
    /// The band with this name ("Section4"), or nullptr.
    ReportBand *section(const QString &name);
    /// The named element of the named band, or nullptr.
    ReportElement *element(const QString &section, const QString &name);
    const ReportElement *element(const QString &section, const QString &name) const;
    /// Sets a label's caption; false when there is no such element.
    bool setCaption(const QString &section, const QString &name, const QString &text);
    /// Sets a picture element's picture; false when there is no such element.
    bool setPicture(const QString &section, const QString &name, const QImage &picture);

    /// The data rows are the visible rows of \a source, in its order, as they
    /// stand now (a snapshot: the report does not follow later changes).
    void setDataSource(const RecordSource &source);
    void setRows(const QStringList &fieldNames, const QVector<QStringList> &rows);
    int rowCount() const { return int(m_rows.size()); }

    /// Title of the preview window.
    QString title;
    /// Paper, orientation and margins; A4 portrait by default.
    QPageLayout pageLayout;

    /// One band placed on a page: its top in twips and, for a detail band,
    /// the data row.
    struct Placed
    {
        Band band;
        int top = 0;
        int row = -1;
    };
    using Page = QVector<Placed>;
    /// Lays the bands out over the rows.
    QVector<Page> paginate() const;
    /// Height of the printable area in twips.
    int printableHeight() const;
    int printableWidth() const;

    /// Paints every page with \a painter, whose device must be at the page's
    /// printable area; \a newPage is called between pages and stops the run
    /// by returning false.
    void paint(QPainter &painter, const std::function<bool()> &newPage) const;
    /// Paints onto a printer or PDF writer, after setting its page layout.
    bool render(QPagedPaintDevice *device) const;
    /// Writes the pages as PDF (fonts embedded).
    bool writePdf(QIODevice *out) const;
    bool writePdf(const QString &path, QString *error) const;

private:
    QString rowValue(int row, const QString &field) const;

    std::array<ReportBand, 5> m_bands;
    QStringList m_fields;
    QVector<QStringList> m_rows;
};
