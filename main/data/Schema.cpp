#include "data/Schema.h"

#include "data/SqlFailure.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QUuid>

namespace Schema {

namespace {

QStringList numbered(int from, int to, const QString &suffix = QString())
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << QString::number(i) + suffix;
    return list;
}

bool exec(QSqlQuery &q, const QString &sql, QString *error)
{
    if (q.exec(sql))
        return true;
    if (error)
        *error = SqlFailureText(q.lastError());
    return false;
}

bool createTables(QSqlDatabase db, const QVector<Table> &tables, int applicationId, int version, QString *error)
{
    QSqlQuery q(db);
    for (const Table &t : tables) {
        if (!exec(q, createSql(t), error))
            return false;
    }
    // Pragmas take no bound parameters; these are our own integer constants.
    return exec(q, QStringLiteral("PRAGMA application_id = %1").arg(applicationId), error)
        && exec(q, QStringLiteral("PRAGMA user_version = %1").arg(version), error);
}

bool insertRow(QSqlDatabase db, const Table &t, const QStringList &values, QString *error)
{
    QStringList marks;
    for (int i = 0; i < t.fields.size(); ++i)
        marks << QStringLiteral("?");
    QStringList columns;
    for (const QString &f : t.fields)
        columns << quoted(f);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(t.name), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (const QString &v : values)
        q.addBindValue(v);
    if (q.exec())
        return true;
    if (error)
        *error = SqlFailureText(q.lastError());
    return false;
}

template <typename Fill> bool createFile(const QString &path, Fill fill, QString *error)
{
    if (QFile::exists(path)) {
        if (error)
            *error = QStringLiteral("%1 already exists").arg(path);
        return false;
    }
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    const QString name = QStringLiteral("schema-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(temp);
        if (!db.open()) {
            if (error)
                *error = SqlFailureText(db.lastError());
        } else {
            QSqlQuery q(db);
            ok = exec(q, QStringLiteral("PRAGMA journal_mode = DELETE"), error);
            q.finish(); // a pending result would block the commit below
            ok = ok && fill(db, error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (ok && !QFile::rename(temp, path)) {
        ok = false;
        if (error)
            *error = QStringLiteral("cannot rename %1 to %2").arg(temp, path);
    }
    if (!ok)
        QFile::remove(temp);
    return ok;
}

// Runs \a fill in one transaction on \a db: committed when it succeeds,
// rolled back otherwise.
template <typename Fill> bool inTransaction(QSqlDatabase db, QString *error, Fill fill)
{
    if (!db.transaction()) {
        if (error)
            *error = SqlFailureText(db.lastError());
        return false;
    }
    bool ok = fill();
    if (ok && !db.commit()) {
        ok = false;
        if (error)
            *error = SqlFailureText(db.lastError());
    }
    if (!ok)
        db.rollback();
    return ok;
}

} // namespace

QString quoted(const QString &identifier)
{
    QString s = identifier;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString createSql(const Table &t)
{
    QStringList columns;
    for (const QString &f : t.fields)
        columns << quoted(f) + QLatin1Char(' ') + t.sqlType(f);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(t.name), columns.join(QStringLiteral(", ")));
}

QStringList Table::fieldsAt(int version) const
{
    QStringList list;
    for (const QString &f : fields) {
        if (addedIn.value(f, 1) <= version)
            list << f;
    }
    return list;
}

QString Table::sqlType(const QString &field) const
{
    return integerFields.contains(field) ? QStringLiteral("INTEGER") : QStringLiteral("TEXT");
}

Table ide()
{
    // AgeMonths: the age in completed months from the two dates, empty
    // when no birth date was given.
    return { QStringLiteral("IDE"),
        { QStringLiteral("Code"), QStringLiteral("FName"), QStringLiteral("LName"), QStringLiteral("Jens"),
            QStringLiteral("Sen"), QStringLiteral("Tahsil"), QStringLiteral("Group"), QStringLiteral("DateEjra"),
            QStringLiteral("DateTavalod"), QStringLiteral("Azmayande"), QStringLiteral("NKham"),
            QStringLiteral("RDarsadi"), QStringLiteral("Hooshbahr"), QStringLiteral("AgeMonths") },
        { { QStringLiteral("AgeMonths"), 2 } }, { QStringLiteral("AgeMonths") } };
}

Table answer()
{
    return { QStringLiteral("Answer"), QStringList { QStringLiteral("Code") } + numbered(1, 36) };
}

Table ppp()
{
    return { QStringLiteral("PPP"),
        QStringList { QStringLiteral("Code") } + numbered(5, 10) + numbered(5, 10, QStringLiteral("p")) };
}

Table theme()
{
    // ChildMode: the test window keeps the child inside it during a test.
    return { QStringLiteral("Theme"),
        { QStringLiteral("Name"), QStringLiteral("Adress"), QStringLiteral("T1"), QStringLiteral("T2"),
            QStringLiteral("T3"), QStringLiteral("T4"), QStringLiteral("T5"), QStringLiteral("T6"),
            QStringLiteral("Check1"), QStringLiteral("ChildMode") },
        { { QStringLiteral("ChildMode"), 2 } }, { QStringLiteral("ChildMode") } };
}

Table answerLog()
{
    // LatencyMs: from the item's picture shown to the click; At: local time
    // with milliseconds.
    Table t { QStringLiteral("AnswerLog"),
        { QStringLiteral("Code"), QStringLiteral("Seq"), QStringLiteral("Item"), QStringLiteral("Choice"),
            QStringLiteral("LatencyMs"), QStringLiteral("At") },
        {}, { QStringLiteral("Seq"), QStringLiteral("Item"), QStringLiteral("Choice"), QStringLiteral("LatencyMs") } };
    t.since = 3;
    return t;
}

QVector<Table> examineeTables()
{
    return { ide(), answer(), ppp(), answerLog() };
}
QVector<Table> themeTables()
{
    return { theme() };
}

bool readNormsCsv(const QString &path, QVector<NormsRow> *rows, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    QTextStream in(&file);
    const QStringList expected = ppp().fields;
    const QStringList header = in.readLine().trimmed().split(QLatin1Char(','));
    if (header != expected) {
        if (error)
            *error = QStringLiteral("%1: header must be %2").arg(path, expected.join(QLatin1Char(',')));
        return false;
    }
    rows->clear();
    // A norms row is looked up by its raw score and copied into results as
    // it stands: each raw score 5 to 36 once, every cell a number.
    QHash<int, int> lineOfRaw;
    int lineNo = 1;
    auto refuse = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("%1, line %2: %3").arg(path).arg(lineNo).arg(why);
        return false;
    };
    while (!in.atEnd()) {
        ++lineNo;
        const QString line = in.readLine().trimmed();
        if (line.isEmpty())
            continue;
        QStringList cells = line.split(QLatin1Char(','));
        if (cells.size() != expected.size())
            return refuse(QStringLiteral("%1 values, expected %2").arg(cells.size()).arg(expected.size()));
        for (int c = 0; c < cells.size(); ++c) {
            cells[c] = cells[c].trimmed();
            bool number = false;
            cells[c].toDouble(&number);
            if (!number)
                return refuse(QStringLiteral("%1 is not a number in column %2").arg(cells[c], expected[c]));
        }
        bool whole = false;
        const int raw = cells[0].toInt(&whole);
        if (!whole || raw < kLowestNormsRaw || raw > kHighestNormsRaw || cells[0] != QString::number(raw))
            return refuse(QStringLiteral("raw score %1 is not one of %2 to %3")
                              .arg(cells[0])
                              .arg(kLowestNormsRaw)
                              .arg(kHighestNormsRaw));
        if (lineOfRaw.contains(raw))
            return refuse(QStringLiteral("raw score %1 again (first on line %2)").arg(raw).arg(lineOfRaw.value(raw)));
        lineOfRaw.insert(raw, lineNo);
        rows->append({ cells[0], cells.mid(1, 6), cells.mid(7, 6) });
    }
    for (int raw = kLowestNormsRaw; raw <= kHighestNormsRaw; ++raw) {
        if (!lineOfRaw.contains(raw)) {
            if (error)
                *error = QStringLiteral("%1: no row for raw score %2").arg(path).arg(raw);
            return false;
        }
    }
    return true;
}

QStringList codeIndexNames()
{
    QStringList names;
    for (const Table &t : { ide(), answer(), answerLog() })
        names << t.name + QStringLiteral("_Code");
    return names;
}

bool ensureIndexes(QSqlDatabase db, QString *error)
{
    QSqlQuery q(db);
    for (const Table &t : { ide(), answer(), answerLog() }) {
        const QString sql
            = QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                  .arg(quoted(t.name + QStringLiteral("_Code")), quoted(t.name), quoted(QStringLiteral("Code")));
        if (!exec(q, sql, error))
            return false;
    }
    return true;
}

bool createExamineeDatabase(QSqlDatabase db, const QVector<NormsRow> &norms, QString *error)
{
    return inTransaction(db, error, [&] {
        bool ok = createTables(db, examineeTables(), kExamineeApplicationId, kSchemaVersion, error)
            && ensureIndexes(db, error);
        const Table t = ppp();
        for (int i = 0; ok && i < norms.size(); ++i)
            ok = insertRow(db, t, QStringList { norms[i].code } + norms[i].iq + norms[i].percentile, error);
        return ok;
    });
}

bool addThemeRow(QSqlDatabase db, QString *error)
{
    const Table t = theme();
    // The profile starts empty, the logo not shown, child mode off.
    QStringList values;
    for (const QString &f : t.fields)
        values << (f == QLatin1String("Check1") || f == QLatin1String("ChildMode") ? QStringLiteral("0") : QString());
    return insertRow(db, t, values, error);
}

bool createThemeDatabase(QSqlDatabase db, QString *error)
{
    return inTransaction(db, error, [&] {
        return createTables(db, themeTables(), kThemeApplicationId, kThemeSchemaVersion, error)
            && addThemeRow(db, error);
    });
}

bool createExamineeFile(const QString &path, const QVector<NormsRow> &norms, QString *error)
{
    return createFile(
        path, [&](QSqlDatabase db, QString *err) { return createExamineeDatabase(db, norms, err); }, error);
}

bool createThemeFile(const QString &path, QString *error)
{
    return createFile(
        path, [](QSqlDatabase db, QString *err) { return createThemeDatabase(db, err); }, error);
}

} // namespace Schema
