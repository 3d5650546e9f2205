#include "records/ExamineeEdit.h"

#include "data/Database.h"
#include "data/RecordSource.h"
#include "test/scoring/ScoreChain.h"

namespace {

const QString kAge = QStringLiteral("Sen");
const QString kRaw = QStringLiteral("NKham");
const QString kIq = QStringLiteral("Hooshbahr");
const QString kPercentile = QStringLiteral("RDarsadi");

// The result the test window would have stored for this raw score at this
// age: its count starts at raw score 0 (the invalid result), then looks up
// the final score, so an age without a norms column ends invalid.
bool putResultForAge(RecordSource &ide, QString *error)
{
    const QString raw = ide.field(kRaw);
    RecordSource norms;
    if (!norms.openWhere(Database::File::Examinee, QStringLiteral("PPP"), QStringLiteral("Code"), raw, error))
        return false;
    ScoreChain chain(&norms);
    const QString age = ide.field(kAge);
    chain.lookUpNorms(QStringLiteral("0"), age);
    chain.lookUpNorms(raw, age);
    ide.setField(kIq, chain.iq());
    ide.setField(kPercentile, chain.percentile());
    return true;
}

} // namespace

bool StoreExamineeEdit(RecordSource &ide, QString *error)
{
    const bool recompute = ide.field(kAge) != ide.storedField(kAge) && !ide.storedField(kRaw).isEmpty();
    // The age and the new result are pending values of one row, which one
    // UPDATE writes: all of them or none.
    if ((!recompute || putResultForAge(ide, error)) && ide.update(error))
        return true;
    if (recompute) {
        // The looked-up result is not kept: the next try looks it up again.
        ide.setField(kIq, ide.storedField(kIq));
        ide.setField(kPercentile, ide.storedField(kPercentile));
    }
    return false;
}
