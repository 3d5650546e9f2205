#pragma once

#include "report/BandedReport.h"
#include "ui/ClinicValues.h"

#include <QString>

#include "report/IqCurve.h"
#include "test/scoring/ItemAnalysis.h"

#include <optional>

#include <array>

class QPagedPaintDevice;
class QWidget;
class RecordSource;
class ReportPreview;

/// Everything the scoring sheet DataR1 prints for one test. The test window
/// fills it at print time; the sheet keeps nothing between prints.
struct ScoringSheet
{
    QString code; ///< Lblkey
    QString firstName; ///< FName
    QString lastName; ///< LName
    QString age; ///< Sen
    QString exactAge; ///< from AgeMonths: "7 سال و 4 ماه", or empty
    QString birthDate; ///< DateTavalod
    QString education; ///< Tahsil
    QString examiner; ///< Azmayande
    QString testDate; ///< DateEjra
    QString iq; ///< Lblhoosh as shown (maybe the invalid-result text)
    QString classification; ///< LblN2
    QString clinicName; ///< Theme Name
    QString clinicAddress; ///< Theme Adress
    /// The stored Answer row, fields "1" to "36": "" never stored, "0", "1".."6".
    std::array<QString, 36> answers;
    /// Show-logo flag, logo picture and contact block of the main window.
    ClinicValues clinic;
    /// The printed answer form; empty: AppPaths::contentDir() + "/answer_form.png".
    QString answerFormPath;
    /// The test materials that scored it (ContentInUse::footerLine()).
    QString materials;
    /// The result on the normal curve, drawn under the answer grid.
    std::optional<IqCurve::Picture> curve;
    /// The second page: every item's final choice, time and changes. None:
    /// the sheet is one page.
    std::optional<ItemAnalysis> analysis;
};

/// Where the curve stands in the detail band (twips): under the examiner's
/// notes, clear of every box and of the signature line.
QRect ScoringSheetCurveBox();

/// Reads the rows of \a code into \a answerSource (an Answer record source,
/// refreshWhere) and copies the stored answers of the first into \a sheet;
/// answers that were never stored stay "". The source is left holding the
/// rows of the code. False when the code has no row.
bool ReadStoredAnswers(RecordSource *answerSource, const QString &code, ScoringSheet *sheet);

/// The full name as the sheet prints it: first name, one blank, last name.
QString ScoringSheetFullName(const ScoringSheet &sheet);

/// The answer box of \a item (1..36) on the form, in twips inside the
/// detail band; the answer form picture has its rows there.
QRect ScoringSheetAnswerBox(int item);

/// The row of \a item (1..36) in the item analysis table, in twips from the
/// top of the second page's printable area; item 0 is the heading row.
QRect ItemAnalysisRow(int item);
/// The line under the table with the total test time.
QRect ItemAnalysisSummaryBox();

/// The total test time as the sheet writes it: "12 دقيقه و 5 ثانيه".
QString TotalTimeText(const std::optional<qint64> &ms);

/// The sheet DataR1 filled for \a sheet (bands Section4, Section1, Section3,
/// and the item analysis on a second page in Section5).
BandedReport BuildScoringSheet(const ScoringSheet &sheet);

/// Draws the sheet onto a printer or PDF writer.
bool RenderScoringSheet(const ScoringSheet &sheet, QPagedPaintDevice *device);

/// The print step: fills the sheet and shows it in its preview window, not
/// modal, from which the user prints or saves a PDF. The preview is a window
/// of its own on \a owner's screen, sized to fit it. The caller (the test
/// window) hides its result panel before and shows its start button after.
ReportPreview *PrintScoringSheet(QWidget *owner, const ScoringSheet &sheet);
