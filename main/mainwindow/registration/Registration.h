#pragma once

#include "mainwindow/registration/RegistrationForm.h"

#include <QString>

#include <optional>

class RecordSource;

/// The first required field that is missing, in the order the panel checks
/// them (code, first name, family name, sex, age, group, education), with
/// its message. The code, names and education are stored trimmed, so a
/// text of blanks counts as missing for them. Then the
/// dates: a birth or test date given but not a date, or a birth date after
/// the test date (reported on the birth date). Empty dates pass.
struct FailedCheck
{
    RegistrationForm::Field field;
    QString message;
};
std::optional<FailedCheck> FirstFailedCheck(const RegistrationForm &form);

/// SuggestNextCode on \a Adodc5 (IDE): the last row's leading number plus
/// one, then up by one while a row holds the proposal. Empty text when IDE
/// has no row (the caller then leaves the code field alone). The filter of
/// the last probe stays on \a Adodc5.
QString SuggestNextCode(RecordSource *Adodc5);

enum class SaveOutcome { Saved, Duplicate, Failed };

/// Stores a checked form: the duplicate check on \a Adodc1, then one IDE row
/// through \a Adodc2 and one Answer row through \a Adodc3 in one transaction.
/// The code is trimmed and its Persian or Arabic-Indic digits read as ASCII
/// before the check, and stored so in both tables;
/// every other value is stored trimmed, the dates in layout 0, and AgeMonths
/// from the two dates (empty when they give no age). \a Adodc1 is re-read for
/// the check and left holding the rows with that code. On Failed \a error holds the
/// database's message and nothing is stored.
SaveOutcome SaveRegistration(
    const RegistrationForm &form, RecordSource *Adodc1, RecordSource *Adodc2, RecordSource *Adodc3, QString *error);
