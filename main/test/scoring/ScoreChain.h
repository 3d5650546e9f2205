#pragma once

#include <QString>
#include <QStringList>

#include <array>

class RecordSource;

/// The 36 correct options (1..6) of the test.
using AnswerKey = std::array<int, 36>;

/// Whether one stored answer slot text equals the item's key ("" and "0" never do).
bool IsCorrectAnswer(const QString &answer, int key);

/// Number of answers equal to the key; \a answers holds the slot texts of
/// items 1..36 ("" and "0" never match).
int CountCorrect(const QStringList &answers, const AnswerKey &key);

/// The result panel's texts as the test window's change events leave them:
/// every step of the count runs the norms lookup, every new IQ text runs the
/// classification. Running the chain here, without widgets, gives the window
/// the exact final texts to show and store once.
class ScoreChain
{
public:
    /// \a norms is an open record source over PPP; lookups filter it and
    /// leave the filter on the last raw score looked up.
    explicit ScoreChain(RecordSource *norms);

    /// Starts from the texts the panel shows now.
    void setState(const QString &iq, const QString &percentile, const QString &classification);

    /// Counts from "0" upward, one lookup per count (ScoreTest).
    void count(const QStringList &answers, const AnswerKey &key, const QString &ageText);
    /// LookUpNorms for the raw score text \a raw and the age text \a ageText.
    void lookUpNorms(const QString &raw, const QString &ageText);
    /// Puts \a text into the IQ label; a change runs ClassifyIq.
    void setIq(const QString &text);
    /// ClassifyIq on the current IQ text.
    void classifyIq();

    QString rawScore() const { return m_raw; }
    QString iq() const { return m_iq; }
    QString percentile() const { return m_percentile; }
    QString classification() const { return m_classification; }

private:
    RecordSource *m_norms;
    QString m_raw;
    QString m_iq;
    QString m_percentile;
    QString m_classification;
};
