#pragma once

#include "report/IqCurve.h"

#include <optional>

/// The classification bands as the curve shows them, by Persian name.
QVector<IqCurve::Band> IqCurveBands();

/// The picture of one result as the panel shows it: the IQ text (a number or
/// the invalid-result text), the percentile rank, the raw score that gave
/// them and the test's reliability at the child's age, when known.
IqCurve::Picture ResultCurve(
    const QString &iqText, const QString &percentileText, const QString &rawText, std::optional<double> reliability);

/// The picture of many results: their IQ texts, counted in 5-point bins.
/// Texts that hold no IQ (an invalid result, nothing yet) are left out.
IqCurve::Picture DistributionCurve(const QStringList &iqTexts);
