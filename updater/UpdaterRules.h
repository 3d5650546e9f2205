#pragma once

#include <QString>

/// Rules of the updater that need no window and no network.
namespace UpdaterRules {

/// The file name at the end of an "http://" or "https://" address, or empty:
/// empty for any other scheme, for the scheme alone, when no "/" stands before the last
/// character, and when the last part has no "." before its last character.
QString GetFileName(const QString &address);

/// The number at the start of \a text: blanks, tabs and line feeds are
/// skipped wherever they stand, an optional sign, digits and a decimal
/// fraction are read, reading stops at the first character that cannot go
/// on; no number gives 0 ("  1 024\n" gives 1024, "2.5x" gives 2.5).
double leadingNumber(const QString &text);

/// \a value rounded to a whole number, halves to the even neighbour.
qint64 roundHalfEven(double value);

/// The progress percent as decimal text: \a received / \a length * 100,
/// halves to the even neighbour (2 of 3 gives "67", 1 of 8 gives "12").
QString percentText(qint64 received, qint64 length);

/// A percent text read as a number and held to the bar's range 0 to 100.
int barValue(const QString &percent);

} // namespace UpdaterRules
