#include "calendar/Clock.h"

namespace {
QDateTime &fixedTime()
{
    static QDateTime when;
    return when;
}
} // namespace

QDateTime Clock::now()
{
    return fixedTime().isValid() ? fixedTime() : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime &when)
{
    fixedTime() = when;
}
