#pragma once

#include "report/BandedReport.h"

#include <QWidget>

#include <memory>

class QPrinter;
class QScreen;
class QPrintPreviewWidget;

/// The report's preview window: not modal, with print and "Save as PDF".
/// It keeps its own copy of the report, so the caller may build the next one
/// at once. It deletes itself when closed.
class ReportPreview : public QWidget
{
    Q_OBJECT

public:
    ReportPreview(QWidget *owner, const BandedReport &report);
    ~ReportPreview() override;

    /// Opens a preview of \a report over \a owner (not modal), at \a geometry
    /// in pixels when it is valid.
    static ReportPreview *open(QWidget *owner, const BandedReport &report, const QRect &geometry = QRect());
    /// Opens a preview of \a report as a window of its own (it outlives
    /// the window it was opened from), \a wanted in size or smaller so
    /// that it fits the available part of \a screen, with the whole page
    /// in view.
    static ReportPreview *openOwnWindow(const BandedReport &report, const QSize &wanted, QScreen *screen);
    /// Where a window of client size \a wanted goes on \a available: as
    /// large as it fits, frame included, centred.
    static QRect fittedGeometry(const QSize &wanted, const QRect &available);

    const BandedReport &report() const { return m_report; }
    QPrintPreviewWidget *view() const { return m_view; }
    int pageCount() const;

    /// Asks for a file name (through the dialog seam) and writes the PDF.
    void saveAsPdf();
    /// Shows the print dialog and prints.
    void print();

private:
    BandedReport m_report;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_view = nullptr;
};
