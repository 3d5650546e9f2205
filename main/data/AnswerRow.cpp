#include "data/AnswerRow.h"

#include "data/RecordSource.h"
#include "data/Transaction.h"

bool EnsureAnswerRow(RecordSource &answer, const QString &code, QString *error)
{
    if (answer.rowCount() != 0)
        return true;
    const QString kCode = QStringLiteral("Code");
    bool ok = false;
    {
        Transaction transaction(answer.file());
        if (!transaction.isActive()) {
            if (error)
                *error = transaction.error();
        } else {
            answer.addNew();
            answer.setField(kCode, code);
            ok = answer.update(error) && transaction.commit(error);
        }
    }
    // After a rollback the snapshot must not hold a row the file lacks.
    if (!ok)
        answer.refreshWhere(kCode, code);
    return ok;
}
