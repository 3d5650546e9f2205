#pragma once

#include <QString>

/// The number at the start of \a text, leading blanks skipped; 0 when the
/// text does not start with a number ("12abc" gives 12, "abc" gives 0).
/// With \a allowFraction a decimal part is read too ("2.5" gives 2.5).
double LenientNumber(const QString &text, bool allowFraction = true);

/// LenientNumber as a whole number, the fraction dropped toward zero.
long long LenientInteger(const QString &text);
