#pragma once

#include <QString>

#include <optional>

/// The one reader of a number at the start of a text: an optional sign,
/// digits and a decimal fraction; reading stops at the first character that
/// cannot go on, and a text without a leading number counts as 0.
namespace LeadingNumber {

enum class Blanks {
    Leading, ///< blanks and tabs before the number only ("12 3" gives 12)
    Anywhere, ///< blanks, tabs and line feeds skipped wherever they stand ("1 024" gives 1024)
};

double read(const QString &text, Blanks blanks = Blanks::Leading, bool allowFraction = true);

/// The whole number at the start of \a text read exactly (leading blanks
/// and tabs skipped, optional sign, digits; whatever follows is ignored).
/// Nothing when the text has no leading digits or the number does not fit
/// in 64 bits: a double would round codes above 2^53.
std::optional<qint64> exactInteger(const QString &text);

} // namespace LeadingNumber

/// The lenient number reading of the windows: leading blanks skipped,
/// "12abc" gives 12, "abc" gives 0. With \a allowFraction "2.5" gives 2.5.
inline double LenientNumber(const QString &text, bool allowFraction = true)
{
    return LeadingNumber::read(text, LeadingNumber::Blanks::Leading, allowFraction);
}

/// LenientNumber as a whole number, the fraction dropped toward zero.
inline long long LenientInteger(const QString &text)
{
    return static_cast<long long>(LenientNumber(text, true));
}
