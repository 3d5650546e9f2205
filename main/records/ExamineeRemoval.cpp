#include "records/ExamineeRemoval.h"

#include "data/AnswerLog.h"
#include "data/RecordSource.h"
#include "data/Transaction.h"

bool DeleteExamineeRows(RecordSource &ide, RecordSource &answer, QString *error)
{
    bool ok = false;
    const QString code = ide.field(QStringLiteral("Code"));
    {
        Transaction transaction(ide.file());
        if (!transaction.isActive()) {
            if (error)
                *error = transaction.error();
        } else {
            ok = ide.deleteCurrent(error) && (answer.atStart() || answer.deleteCurrent(error))
                && AnswerLog::remove(Database::connection(ide.file()), code, error) && transaction.commit(error);
        }
    }
    if (!ok) {
        ide.refresh();
        answer.refresh();
    }
    return ok;
}
