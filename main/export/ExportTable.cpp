#include "export/ExportTable.h"

#include "common/LeadingNumber.h"
#include "data/RecordSource.h"
#include "export/ExportTexts.h"
#include "test/scoring/IqClassification.h"
#include "test/scoring/ResultTexts.h"

namespace T = ExportTexts;

namespace {

constexpr int kItems = 36;
constexpr int kMaxDigits = 15; // what a double keeps exactly

using Kind = ExportColumn::Kind;
using From = ExportColumn::From;

ExportColumn stored(const char *name, const QString &label, Kind kind)
{
    ExportColumn c;
    c.name = QLatin1String(name);
    c.label = label;
    c.kind = kind;
    c.field = c.name;
    return c;
}

ExportColumn computed(const char *name, const QString &label, From from)
{
    ExportColumn c;
    c.name = QLatin1String(name);
    c.label = label;
    c.from = from;
    return c;
}

// A1..A36, C1..C36 (and any later per-item list): one column per item.
void perItem(QVector<ExportColumn> *columns, char prefix, const QString &label, Kind kind, From from)
{
    for (int i = 1; i <= kItems; ++i) {
        ExportColumn c;
        c.name = QLatin1Char(prefix) + QString::number(i);
        c.label = label.arg(i);
        c.kind = kind;
        c.from = from;
        c.field = QString::number(i);
        c.item = i;
        if (from == From::Correct)
            c.valueLabels = { { 0, T::wrong }, { 1, T::right } };
        if (from == From::Seconds)
            c.decimals = 1;
        columns->append(c);
    }
}

} // namespace

QVector<ExportColumn> ExportColumns()
{
    QVector<ExportColumn> c;
    c << stored("Code", T::code, Kind::Number) << stored("FName", T::fName, Kind::Text)
      << stored("LName", T::lName, Kind::Text);
    ExportColumn jens = stored("Jens", T::jens, Kind::Text);
    jens.valueLabels = { { 1, T::boy }, { 2, T::girl } };
    jens.labelsStandForText = true;
    c << jens << stored("Sen", T::sen, Kind::Number) << stored("AgeMonths", T::ageMonths, Kind::Number);
    c << stored("Tahsil", T::tahsil, Kind::Text) << stored("Group", T::group, Kind::Text)
      << stored("DateEjra", T::dateEjra, Kind::Text) << stored("DateTavalod", T::dateTavalod, Kind::Text)
      << stored("Azmayande", T::azmayande, Kind::Text) << stored("NKham", T::nKham, Kind::Number);
    ExportColumn iq = stored("Hooshbahr", T::hooshbahr, Kind::Number);
    iq.valueLabels = { { -1, ResultTexts::invalid } };
    iq.labelsStandForText = true;
    iq.missingCodes = { -1 };
    c << iq << stored("RDarsadi", T::rDarsadi, Kind::Number);
    c << computed("Classification", T::classification, From::BandPersian)
      << computed("ClassificationEn", T::classificationEn, From::BandEnglish);
    perItem(&c, 'A', T::answer, Kind::Number, From::Answer);
    perItem(&c, 'C', T::correct, Kind::Number, From::Correct);
    perItem(&c, 'T', T::seconds, Kind::Number, From::Seconds);
    return c;
}

bool ExportNumber(const QString &text, double *value)
{
    const int n = int(text.size());
    int i = 0;
    if (i < n && text[i] == QLatin1Char('-'))
        ++i;
    const int start = i;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i;
    const int whole = i - start;
    if (whole == 0 || (whole > 1 && text[start] == QLatin1Char('0')))
        return false;
    int fraction = 0;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        const int f = i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
        fraction = i - f;
        if (fraction == 0)
            return false;
    }
    if (i != n || whole + fraction > kMaxDigits)
        return false;
    if (value) {
        // The digits as one whole number, then one division by a power of
        // ten: both are exact below 2^53, so the quotient is the double
        // nearest the decimal, as a full parse would give, at a fraction of
        // its cost.
        static constexpr double kPowers[]
            = { 1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
        qint64 v = 0;
        for (int k = start; k < n; ++k) {
            if (text[k] != QLatin1Char('.'))
                v = v * 10 + (text[k].unicode() - '0');
        }
        const double d = double(v) / kPowers[fraction];
        *value = start == 1 && v != 0 ? -d : d;
    }
    return true;
}

QString ExportSeconds(qint64 ms)
{
    // In whole tenths, so no binary fraction decides a half.
    const bool negative = ms < 0;
    const quint64 magnitude = negative ? 0 - quint64(ms) : quint64(ms);
    const quint64 tenths = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    return (negative && tenths > 0 ? QStringLiteral("-") : QString()) + QString::number(tenths / 10) + QLatin1Char('.')
        + QChar(u'0' + int(tenths % 10));
}

void ExportBands(const QString &iq, QString *persian, QString *english)
{
    persian->clear();
    english->clear();
    if (iq.trimmed().isEmpty() || iq == ResultTexts::invalid)
        return;
    if (const std::optional<IqBand> band = IqBandOf(LenientNumber(iq))) {
        *persian = band->persian;
        *english = band->english;
    }
}

ExportTable::ExportTable(const RecordSource &ide, const RecordSource &answers, const AnswerKey &key,
    const AnswerLog::FinalLatencies &latencies)
    : m_ide(ide)
    , m_answers(answers)
    , m_key(key)
    , m_latencies(latencies)
    , m_columns(ExportColumns())
{
    for (const ExportColumn &c : std::as_const(m_columns)) {
        const bool fromAnswer = c.from == From::Answer || c.from == From::Correct;
        m_fieldIndex << (c.field.isEmpty() ? -1 : (fromAnswer ? answers : ide).fieldIndex(c.field));
    }
    m_ideCode = ide.fieldIndex(QStringLiteral("Code"));
    m_ideIq = ide.fieldIndex(QStringLiteral("Hooshbahr"));
    const int answerCode = answers.fieldIndex(QStringLiteral("Code"));
    m_answerRow.reserve(answers.rowCount());
    // The first row of a code counts, as a filter on the code would find it.
    for (int r = answers.rowCount() - 1; r >= 0; --r)
        m_answerRow.insert(answers.value(r, answerCode), r);
}

// Response times repeat a few thousand texts: each is made once.
QString ExportTable::seconds(qint64 ms) const
{
    constexpr qint64 kCachedMs = 600'000;
    if (ms == AnswerLog::FinalLatencies::kNone)
        return QString();
    if (ms < 0 || ms >= kCachedMs)
        return ExportSeconds(ms);
    const qsizetype tenths = qsizetype((ms + 50) / 100);
    if (tenths >= m_seconds.size())
        m_seconds.resize(tenths + 1);
    QString &text = m_seconds[tenths];
    if (text.isNull())
        text = ExportSeconds(ms);
    return text;
}

// Answers repeat a handful of texts, and reading one as a number is slow
// next to a lookup: each text is scored once against the whole key.
bool ExportTable::correct(const QString &answer, int item) const
{
    constexpr qsizetype kRemembered = 1024;
    const auto it = m_correctItems.constFind(answer);
    if (it != m_correctItems.constEnd())
        return (it.value() >> (item - 1)) & 1;
    if (m_correctItems.size() >= kRemembered)
        return IsCorrectAnswer(answer, m_key[size_t(item - 1)]);
    quint64 items = 0;
    for (int i = 0; i < kItems; ++i) {
        if (IsCorrectAnswer(answer, m_key[size_t(i)]))
            items |= quint64(1) << i;
    }
    // A copy of its own: the answer may lie in the record source's memory.
    m_correctItems.insert(QString(answer.constData(), answer.size()), items);
    return (items >> (item - 1)) & 1;
}

int ExportTable::rowCount() const
{
    return m_ide.rowCount();
}

void ExportTable::row(int row, QStringList *cells) const
{
    const int n = int(m_columns.size());
    cells->resize(n);
    m_ide.rowValues(row, &m_ideValues);
    const int answer = m_answerRow.value(m_ideValues.value(m_ideCode), -1);
    m_answers.rowValues(answer, &m_answerValues);
    QString persian, english;
    ExportBands(m_ideValues.value(m_ideIq), &persian, &english);
    const qint64 *latencies = m_latencies.of(m_ideValues.value(m_ideCode));
    static const QString one = QStringLiteral("1"), zero = QStringLiteral("0");
    for (int c = 0; c < n; ++c) {
        const ExportColumn &col = m_columns[c];
        const int f = m_fieldIndex[c];
        QString &cell = (*cells)[c];
        switch (col.from) {
        case From::Ide:
            cell = f < 0 ? QString() : m_ideValues[f];
            break;
        case From::Answer:
            cell = f < 0 ? QString() : m_answerValues[f];
            break;
        case From::Correct:
            cell = f >= 0 && correct(m_answerValues[f], col.item) ? one : zero;
            break;
        case From::BandPersian:
            cell = persian;
            break;
        case From::BandEnglish:
            cell = english;
            break;
        case From::Seconds:
            cell = latencies ? seconds(latencies[col.item - 1]) : QString();
            break;
        }
    }
}
