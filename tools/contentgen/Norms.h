#pragma once

#include <QByteArray>

/// The demonstration norms: for every age 5..10 the raw score is taken as
/// normally distributed with the mean and standard deviation below;
/// IQ = round(100 + 15 z) kept within 20..160, percentile =
/// round(100 * Phi(z)) kept within 1..99.
///
/// age:   5     6     7     8     9     10
/// mean: 13.0  16.0  19.0  22.0  25.0  27.5
/// sd:    5.5   5.5   5.5   5.5   5.0   4.5
///
/// Means rise and spreads never widen with age, so for one raw score z never
/// rises with age and the table keeps its order in both directions.
QByteArray normsCsv();
