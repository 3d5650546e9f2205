#pragma once

#include <QString>

class RecordSource;

/// Gives an examinee who has no Answer row (a file damaged by hand, an old
/// import) the empty row registration would have added, in a transaction,
/// so the answers of a test have somewhere to go. \a answer is a source
/// over Answer holding the examinee's rows (keyed on \a code); it shows the
/// new row afterwards. True when the row was there or is now stored.
bool EnsureAnswerRow(RecordSource &answer, const QString &code, QString *error);
