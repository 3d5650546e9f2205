#pragma once

#include "report/BandedReport.h"
#include "ui/ClinicValues.h"

#include <QRect>
#include <QString>

class QPagedPaintDevice;
class QWidget;
class RecordSource;
class ReportPreview;

/// What the full report prints around the table: the clinic's name and
/// address (the Theme row) and the main window's clinic values.
struct FullReportClinic
{
    QString name; ///< Theme Name
    QString address; ///< Theme Adress
    ClinicValues values;
    /// The test materials in use (ContentInUse::footerLine()).
    QString materials;
};

/// Reads Name, Adress and the contact lines (the summary) from the current
/// row of a Theme record source as stored; the logo from \a values.
FullReportClinic FullReportClinicFrom(const RecordSource &theme, const ClinicValues &values);

/// The full report DataR2 over the visible rows of \a ide (an IDE record
/// source, in its order), its header and footer filled from \a clinic. The
/// row column counts 1, 2, 3 ... in every report built.
BandedReport BuildFullReport(const RecordSource &ide, const FullReportClinic &clinic);

/// Draws the report onto a printer or PDF writer.
bool RenderFullReport(const RecordSource &ide, const FullReportClinic &clinic, QPagedPaintDevice *device);

/// The records window's print step: the report over the rows its grid shows,
/// in its titled preview window (not modal), from which the user
/// prints or saves a PDF.
ReportPreview *PrintFullReport(QWidget *owner, const RecordSource &ide, const FullReportClinic &clinic);

/// Preview geometry in twips: left 120, top 450, 15120 x 10950.
QRect FullReportPreviewGeometry();
