#include "records/ExamineeRemoval.h"

#include "data/RecordSource.h"
#include "data/Transaction.h"

bool DeleteExamineeRows(RecordSource &ide, RecordSource &answer, QString *error)
{
    bool ok = false;
    {
        Transaction transaction(ide.file());
        if (!transaction.isActive()) {
            if (error)
                *error = transaction.error();
        } else {
            ok = ide.deleteCurrent(error) && (answer.atStart() || answer.deleteCurrent(error)) && transaction.commit(error);
        }
    }
    if (!ok) {
        ide.refresh();
        answer.refresh();
    }
    return ok;
}
