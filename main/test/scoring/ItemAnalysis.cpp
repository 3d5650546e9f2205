#include "test/scoring/ItemAnalysis.h"

#include "common/LeadingNumber.h"

int ItemAnalysis::correctCount() const
{
    return int(std::count_if(items.cbegin(), items.cend(), [](const Item &i) { return i.correct; }));
}

int ItemAnalysis::changeCount() const
{
    int n = 0;
    for (const Item &i : items)
        n += i.changes;
    return n;
}

ItemAnalysis AnalyseItems(
    const std::array<QString, 36> &answers, const AnswerKey &key, const QVector<AnswerLog::Row> &log)
{
    ItemAnalysis a;
    std::array<int, 36> lastChoice {};
    for (size_t i = 0; i < a.items.size(); ++i) {
        ItemAnalysis::Item &item = a.items[i];
        item.choice = answers[i];
        // Counted as the raw score counts: the slot's number against the key.
        item.correct = LenientNumber(item.choice) == key[i];
    }
    for (const AnswerLog::Row &row : log) {
        const int item = row.click.item;
        if (item < 1 || item > 36)
            continue;
        ItemAnalysis::Item &entry = a.items[size_t(item - 1)];
        int &last = lastChoice[size_t(item - 1)];
        if (last != 0 && last != row.click.choice)
            ++entry.changes;
        last = row.click.choice;
        entry.finalLatencyMs = row.click.latencyMs;
    }
    if (!log.isEmpty()) {
        const AnswerLog::Row &first = log.first();
        const QDateTime start = first.click.at.addMSecs(-first.click.latencyMs);
        const QDateTime end = log.last().click.at;
        if (start.isValid() && end.isValid())
            a.totalMs = qMax<qint64>(0, start.msecsTo(end));
    }
    return a;
}

QString SecondsText(qint64 ms)
{
    const qint64 tenths = (qMax<qint64>(0, ms) + 50) / 100;
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}
