#pragma once

#include <QString>

class RecordSource;

/// Deletes the current row of \a ide and, when there is one, the current row
/// of \a answer, in one transaction: either both go or neither does. On
/// failure both record sources are re-read, so they match the file again.
bool DeleteExamineeRows(RecordSource &ide, RecordSource &answer, QString *error);
