#include "test/scoring/ScoreChain.h"

#include "common/LeadingNumber.h"
#include "data/RecordSource.h"
#include "test/scoring/IqClassification.h"
#include "test/scoring/ResultTexts.h"

namespace {

// Raw scores below this are not interpreted.
constexpr int kLowestInterpretedRaw = 5;

} // namespace

bool IsCorrectAnswer(const QString &answer, int key)
{
    return LenientNumber(answer) == key;
}

int CountCorrect(const QStringList &answers, const AnswerKey &key)
{
    int correct = 0;
    for (int i = 0; i < 36 && i < answers.size(); ++i) {
        if (IsCorrectAnswer(answers.at(i), key[size_t(i)]))
            ++correct;
    }
    return correct;
}

ScoreChain::ScoreChain(RecordSource *norms)
    : m_norms(norms)
{
}

void ScoreChain::setState(const QString &iq, const QString &percentile, const QString &classification)
{
    m_iq = iq;
    m_percentile = percentile;
    m_classification = classification;
}

void ScoreChain::count(const QStringList &answers, const AnswerKey &key, const QString &ageText)
{
    int counter = 0;
    lookUpNorms(QStringLiteral("0"), ageText);
    for (int i = 0; i < 36; ++i) {
        const QString slot = i < answers.size() ? answers.at(i) : QString();
        if (LenientNumber(slot) == key[size_t(i)]) {
            ++counter;
            lookUpNorms(QString::number(counter), ageText);
        }
    }
}

void ScoreChain::lookUpNorms(const QString &raw, const QString &ageText)
{
    m_raw = raw;
    if (LenientNumber(raw) < kLowestInterpretedRaw) {
        setIq(ResultTexts::invalid);
        m_percentile = ResultTexts::zeroPercentile;
        return;
    }
    m_norms->setFilter(QStringLiteral("Code"), raw);
    const double age = LenientNumber(ageText);
    const int whole = int(age);
    // Only whole ages 5 to 10 have a column; any other age leaves the texts.
    if (age != whole || whole < 5 || whole > 10)
        return;
    const QString column = QString::number(whole);
    setIq(m_norms->field(column));
    m_percentile = m_norms->field(column + QLatin1Char('p'));
}

void ScoreChain::setIq(const QString &text)
{
    if (text == m_iq)
        return;
    m_iq = text;
    classifyIq();
}

void ScoreChain::classifyIq()
{
    if (m_iq == ResultTexts::invalid) {
        m_classification = QStringLiteral(" ");
        return;
    }
    const double x = LenientNumber(m_iq);
    if (const auto band = IqBandText(x)) {
        m_classification = *band;
        return;
    }
    if (x < kLowestClassifiedIq)
        setIq(ResultTexts::invalid);
    // A value between two bands leaves the classification as it was.
}
