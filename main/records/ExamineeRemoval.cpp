#include "ExamineeRemoval.h"

#include "RecordSource.h"
#include "Transaction.h"

bool DeleteExamineeRows(RecordSource &ide, RecordSource &answer, QString *error)
{
    bool ok = false;
    {
        Transaction transaction(ide.file());
        ok = transaction.isActive() && ide.deleteCurrent(error) && (answer.atStart() || answer.deleteCurrent(error))
          && transaction.commit(error);
        if (!transaction.isActive() && !ok && error && error->isEmpty())
            *error = transaction.error();
    }
    if (!ok) {
        ide.refresh();
        answer.refresh();
    }
    return ok;
}
