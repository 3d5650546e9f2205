#pragma once

#include <QString>

class RecordSource;

/// Deletes the current row of \a ide and, when there is one, the current row
/// of \a answer, with the examinee's click log, in one transaction: either
/// all go or none does. On failure both record sources are re-read, so they
/// match the file again.
bool DeleteExamineeRows(RecordSource &ide, RecordSource &answer, QString *error);
