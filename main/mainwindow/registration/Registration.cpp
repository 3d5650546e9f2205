#include "mainwindow/registration/Registration.h"

#include "calendar/ExamineeAge.h"
#include "common/LeadingNumber.h"
#include "common/PersianInput.h"
#include "data/RecordSource.h"
#include "data/Transaction.h"
#include "mainwindow/registration/RegistrationTexts.h"
#include "ui/DateTexts.h"

#include <limits>

namespace {

const QString kCode = QStringLiteral("Code");

// Exact: through a double, "last + 1" above 2^53 rounds back to the last
// code and the probe never ends. A code that does not fit counts as 0.
qint64 proposalAfter(const QString &code)
{
    const qint64 last = LeadingNumber::exactInteger(PersianInput::asciiDigits(code)).value_or(0);
    return last == std::numeric_limits<qint64>::max() ? 1 : last + 1;
}

} // namespace

std::optional<FailedCheck> FirstFailedCheck(const RegistrationForm &form)
{
    using F = RegistrationForm::Field;
    const struct
    {
        F field;
        QString value;
        QString message;
    } checks[] = {
        { F::Code, form.code.trimmed(), RegistrationTexts::missingCode },
        { F::FirstName, form.firstName.trimmed(), RegistrationTexts::missingFirstName },
        { F::LastName, form.lastName.trimmed(), RegistrationTexts::missingLastName },
        { F::Sex, form.sex, RegistrationTexts::missingSex },
        { F::Age, form.age, RegistrationTexts::missingAge },
        { F::Group, form.group, RegistrationTexts::missingGroup },
        { F::Education, form.education.trimmed(), RegistrationTexts::missingEducation },
    };
    for (const auto &c : checks) {
        if (c.value.isEmpty())
            return FailedCheck { c.field, c.message };
    }
    const ExamineeDates::Fault fault = ReadExamineeDates(form.birthDate, form.testDate).fault;
    if (fault != ExamineeDates::Fault::None)
        return FailedCheck { fault == ExamineeDates::Fault::TestDate ? F::TestDate : F::BirthDate,
            DateTexts::notice(fault) };
    return std::nullopt;
}

QString SuggestNextCode(RecordSource *Adodc5)
{
    // An unreadable file proposes nothing: the failure is shown, and a code
    // from an old copy could already be taken.
    if (!Adodc5->refresh() || Adodc5->rowCount() == 0)
        return QString();
    Adodc5->moveLast();
    // Every probe that finds a row steps past a distinct stored code, so
    // at most one probe more than the table has rows; the bound is a guard.
    const qsizetype rows = Adodc5->rowCount();
    qint64 proposal = proposalAfter(Adodc5->field(kCode));
    for (qsizetype probe = 0; probe <= rows; ++probe) {
        const QString text = QString::number(proposal);
        Adodc5->setFilter(kCode, text);
        if (Adodc5->rowCount() == 0)
            return text;
        proposal = proposalAfter(text);
    }
    return QString();
}

SaveOutcome SaveRegistration(
    const RegistrationForm &form, RecordSource *Adodc1, RecordSource *Adodc2, RecordSource *Adodc3, QString *error)
{
    // Trimmed first, so "12 " can neither duplicate "12" nor leave an Answer
    // row that a lookup of the stored code cannot find; a Persian keyboard's
    // "۱۲" is the same code as "12".
    const QString code = PersianInput::asciiDigits(form.code.trimmed());
    // Read from the file, not the snapshot: the records window may have
    // removed examinees since. Only rows with this code are read. Every use
    // of Adodc1 starts with a read of its own, so it stays keyed after.
    if (!Adodc1->refreshWhere(kCode, code, error))
        return SaveOutcome::Failed;
    if (Adodc1->rowCount() != 0)
        return SaveOutcome::Duplicate;

    const ExamineeDates dates = ReadExamineeDates(form.birthDate, form.testDate);
    bool stored = false;
    QString message;
    {
        Transaction t(Database::File::Examinee);
        if (t.isActive()) {
            Adodc2->addNew();
            const struct
            {
                const char *field;
                QString value;
            } values[] = {
                { "Code", code },
                { "FName", form.firstName.trimmed() },
                { "LName", form.lastName.trimmed() },
                { "Jens", form.sex.trimmed() },
                { "Sen", form.age.trimmed() },
                { "Tahsil", form.education.trimmed() },
                { "DateEjra", dates.testDate },
                { "DateTavalod", dates.birthDate },
                { "Azmayande", form.examiner.trimmed() },
                { "Group", form.group.trimmed() },
                { "AgeMonths", dates.ageMonthsText() },
            };
            for (const auto &v : values)
                Adodc2->setField(QLatin1String(v.field), v.value);
            Adodc3->addNew();
            Adodc3->setField(kCode, code);
            stored = Adodc3->update(&message) && Adodc2->update(&message) && t.commit(&message);
        } else {
            message = t.error();
        }
    }
    if (!stored) {
        // A rolled-back pair must not linger in the snapshots as if stored.
        Adodc2->refresh();
        Adodc3->refresh();
        if (error)
            *error = message;
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}
