#pragma once

#include "test/content/ContentPack.h"

#include <QStringList>
#include <QVector>

/// The checks a pack passes before it is saved or installed, as a list of
/// faults (errors and warnings).
namespace PackCheck {

constexpr int LowestRaw = 5;
constexpr int HighestRaw = 36;
constexpr int IqMin = 20;
constexpr int IqMax = 160;
constexpr int PercentileMin = 1;
constexpr int PercentileMax = 99;
/// How far a percentile may stand from its IQ's place under the normal curve.
constexpr double PercentileSlack = 5.0;

enum class Fields { Required, Optional };

/// Every fault of \a pack: the loader's manifest rules, the pack's own
/// fields (name, contentVersion, created: a folder being prepared for
/// packing may still lack them, \a fields Optional), pictures that do not
/// decode fully, and the norms.
QVector<PackFault> check(const ContentPack &pack, Fields fields = Fields::Required);

/// The norms checks on a table of cells: row 0 is the header
/// (Code,5..10,5p..10p), each further row a raw score and its 12 values.
QVector<PackFault> checkNorms(const QVector<QStringList> &table);

/// Cells of a CSV text (commas or tabs, as a spreadsheet pastes them).
QVector<QStringList> parseTable(const QString &text);

/// The percentile an IQ has under the normal curve (mean 100, sd 15).
double normalPercentile(double iq);

bool hasErrors(const QVector<PackFault> &faults);
/// "error: ..." / "warning: ..." lines.
QStringList describe(const QVector<PackFault> &faults);

} // namespace PackCheck
