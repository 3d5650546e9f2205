#pragma once

#include <QString>

/// Readers for what a Persian or Arabic keyboard types.
namespace PersianInput {

/// \a text with Persian (U+06F0–U+06F9) and Arabic-Indic (U+0660–U+0669)
/// digits replaced by ASCII digits; everything else is left as it stands.
QString asciiDigits(const QString &text);

/// \a text as a name search compares it: Arabic yeh and alef maksura become
/// Persian yeh, Arabic kaf becomes Persian kaf, zero-width non-joiners and
/// joiners are removed, and blanks at both ends are trimmed.
QString foldedName(const QString &text);

} // namespace PersianInput
