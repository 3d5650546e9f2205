#pragma once

#include "report/BandedReport.h"

#include <QWidget>

#include <memory>

class QPrinter;
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
