#pragma once

#include <QDateTime>

/// The one source of "now" for the dates the program writes (registration
/// dates, backup names). Tests pin it with setFixed().
class Clock
{
public:
    static QDateTime now();
    /// Pins now() to \a when; an invalid value returns to the system clock.
    static void setFixed(const QDateTime &when);
};
