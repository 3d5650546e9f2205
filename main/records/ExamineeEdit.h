#pragma once

#include <QString>

class RecordSource;

/// Stores the pending edit of the current row of \a ide (an IDE record
/// source). When the edit changes the age of an examinee who has a raw
/// score, the IQ and percentile rank of the new age are looked up in the
/// norms, as the test's scoring gives them, and stored in the same
/// transaction, so a result never belongs to an age the row no longer has.
/// On failure nothing is written and the edit stays pending as it was.
bool StoreExamineeEdit(RecordSource &ide, QString *error);
