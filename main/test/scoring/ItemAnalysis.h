#pragma once

#include "data/AnswerLog.h"
#include "test/scoring/ScoreChain.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>

/// Per item, what the child finally chose, whether it is right, how long
/// the final response took and how often the answer changed; worked out
/// from the stored answers and the click log.
struct ItemAnalysis
{
    struct Item
    {
        QString choice; ///< the stored slot text: "" never stored, "0" none, "1".."6"
        bool correct = false;
        /// From the picture shown to the click that gave the final choice;
        /// none when the item has no logged click (a test given before the
        /// log was kept).
        std::optional<qint64> finalLatencyMs;
        /// Logged clicks whose option differs from the item's previous one.
        int changes = 0;
    };

    std::array<Item, 36> items;
    /// From the first answered item shown to the last logged click; none
    /// without a log.
    std::optional<qint64> totalMs;

    int correctCount() const;
    int changeCount() const;
};

/// \a answers are the stored slots "1".."36"; \a log the examinee's rows in
/// order.
ItemAnalysis AnalyseItems(
    const std::array<QString, 36> &answers, const AnswerKey &key, const QVector<AnswerLog::Row> &log);

/// Seconds with one decimal, rounded half up: 2350 ms gives "2.4".
QString SecondsText(qint64 ms);
