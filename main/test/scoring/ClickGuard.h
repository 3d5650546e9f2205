#pragma once

#include <QElapsedTimer>

/// Refuses answers that arrive too soon after an item appeared, so the
/// second click of a double click cannot answer an item the child has not
/// seen yet.
class ClickGuard
{
public:
    static constexpr int kDefaultMs = 300;

    void itemShown() { m_shown.start(); }
    /// Milliseconds since the item appeared (monotonic), 0 before any.
    qint64 shownMs() const { return m_shown.isValid() ? m_shown.elapsed() : 0; }
    bool accepts() const { return !m_shown.isValid() || m_shown.elapsed() >= s_intervalMs; }

    /// Tests that click through all items may shorten the interval.
    static void setInterval(int ms) { s_intervalMs = ms; }
    static int interval() { return s_intervalMs; }

private:
    QElapsedTimer m_shown;
    static inline int s_intervalMs = kDefaultMs;
};
