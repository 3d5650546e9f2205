#pragma once

#include <QString>
#include <QVector>

#include <optional>

/// One verbal band of an IQ.
struct IqBand
{
    QString persian; ///< "سرآمد"
    QString english; ///< "Superior"
};

/// The band of \a iq; bounds are inclusive whole numbers from 25 up, so a
/// value between two bands (109.5) or below 25 has none.
std::optional<IqBand> IqBandOf(double iq);

/// The verbal bands of an IQ, Persian then English ("سرآمد Superior").
/// Bounds are inclusive whole numbers from 25 up; a value between two bands
/// (109.5) or below 25 has no band.
std::optional<QString> IqBandText(double iq);

/// One band with its inclusive whole-number bounds; the top band's high
/// bound is the top of the scale (160).
struct IqBandBounds
{
    int low;
    int high;
    IqBand band;
};

/// The nine bands from the lowest (25 to 34) to the highest.
QVector<IqBandBounds> IqBandTable();

/// The lowest IQ that is classified; anything below is an invalid result.
constexpr double kLowestClassifiedIq = 25;
