#pragma once

#include "data/AnswerLog.h"
#include "test/scoring/ScoreChain.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class RecordSource;

/// A value label of a labelled variable (SPSS).
struct ExportValueLabel
{
    double code;
    QString label;
};

/// One exported column: its name (the header and the SPSS variable name),
/// its Persian label and what its values are.
struct ExportColumn
{
    enum class Kind {
        Text, ///< always text as stored
        Number, ///< a number where the stored text is one (ExportNumber), else text as stored
    };
    enum class From { Ide, Answer, Correct, BandPersian, BandEnglish, Seconds };

    QString name;
    QString label;
    Kind kind = Kind::Text;
    From from = From::Ide;
    QString field; ///< the IDE or Answer field read
    int item = 0; ///< 1..36 for the per-item columns
    QVector<ExportValueLabel> valueLabels;
    /// A stored text equal to one of the labels stands for its code where a
    /// file keeps numbers apart from texts (sex, the invalid IQ).
    bool labelsStandForText = false;
    /// Codes that mark a value as missing (the invalid IQ is no IQ).
    QVector<double> missingCodes;
    /// Fraction digits every value of the column has (-1: as stored).
    int decimals = -1;
};

/// The exported columns, in order.
QVector<ExportColumn> ExportColumns();

/// What an export holds: one row per visible row of an IDE record source, in
/// its order, joined with the examinee's Answer row by code. The rows are
/// made when asked for, so a large table costs no second copy.
class ExportTable
{
public:
    /// \a ide, \a answers and \a latencies must outlive the table; \a key is
    /// the test's answer key, which the correct flags compare with.
    ExportTable(const RecordSource &ide, const RecordSource &answers, const AnswerKey &key,
        const AnswerLog::FinalLatencies &latencies);

    const QVector<ExportColumn> &columns() const { return m_columns; }
    int rowCount() const;
    /// The cells of \a row in column order: texts as stored, "" for a value
    /// that is not there, "1"/"0" for the correct flags, seconds with one
    /// decimal ("12.3") for the response times. The texts may share the
    /// record sources' memory: use them before the sources change.
    void row(int row, QStringList *cells) const;

private:
    QString seconds(qint64 ms) const;
    bool correct(const QString &answer, int item) const;

    const RecordSource &m_ide;
    const RecordSource &m_answers;
    AnswerKey m_key;
    const AnswerLog::FinalLatencies &m_latencies;
    QVector<ExportColumn> m_columns;
    QVector<int> m_fieldIndex; ///< per column, in IDE or Answer; -1 when absent
    int m_ideCode = -1;
    int m_ideIq = -1;
    QHash<QString, int> m_answerRow; ///< code -> visible row of answers
    mutable QStringList m_ideValues; ///< the row being read
    mutable QStringList m_answerValues;
    mutable QVector<QString> m_seconds; ///< texts of 0.0, 0.1, ... made once each
    mutable QHash<QString, quint64> m_correctItems; ///< answer text -> bit i-1: correct for item i
};

/// Whether \a text is a number written plainly ("12", "-3.5", "0.25"), one
/// that reads back to the same text: not "07", " 5", "1e3", "5." or more than
/// 15 digits. Codes such as "07" stay text, so no two codes become one.
bool ExportNumber(const QString &text, double *value = nullptr);

/// \a ms as seconds rounded to one decimal, halves away from zero: "12.3".
QString ExportSeconds(qint64 ms);

/// The Persian and English band of a stored IQ text; both empty for the
/// invalid-result text, an empty IQ or an IQ in no band.
void ExportBands(const QString &iq, QString *persian, QString *english);
