#pragma once

// Examinees whose texts try every corner of the formats, stored in the
// database of a ProgramFolder, and what an export of them must hold, worked
// out from the file itself.

#include "ProgramFolder.h"
#include "test/content/TestContent.h"
#include "test/scoring/ScoreChain.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ExportFixture {

inline const QString kInvalid = QStringLiteral("نتيجه نامعتبر مي باشد");

/// A row of the click log as stored: its number, item and latency (null: none).
struct LogRow
{
    int seq;
    int item;
    QVariant latencyMs;
};

struct Examinee
{
    QStringList ide; ///< the 13 IDE fields in table order
    QString answers; ///< one character per item, '-' for an empty slot, '+' for the key, '*' for a wrong option
    bool hasAnswerRow = true;
    QString persianBand, englishBand;
    QVector<LogRow> log = {}; ///< stored in this order
};

// Item 3 answered three times, items 21..36 never, halves and near-halves
// of a tenth, an item beyond 36.
inline QVector<LogRow> firstLog()
{
    static const qint64 ms[] = { 1250, 1249, 4000, 49, 50, 999, 59999, 600000, 3050, 12345 };
    QVector<LogRow> log;
    for (int i = 1; i <= 20; ++i)
        log << LogRow { i, i, i <= 10 ? ms[i - 1] : 1000 * i + 7 };
    log << LogRow { 21, 3, 2500 } << LogRow { 22, 3, 7349 } << LogRow { 23, 37, 5000 };
    return log;
}

// Past the ten minutes a time is kept for; every item once.
inline QVector<LogRow> longLog()
{
    QVector<LogRow> log;
    for (int i = 1; i <= 36; ++i)
        log << LogRow { i, i, 1234567 + 1000 * i };
    return log;
}

// Code, FName, LName, Jens, Sen, Tahsil, Group, DateEjra, DateTavalod, Azmayande, NKham, RDarsadi, Hooshbahr
inline QVector<Examinee> examinees()
{
    return {
        { { "1", "مريم", "O'Neil", "دختر", "7", "اول, دبستان", "A", "1401/07/28", "1394/02/03", "دکتر \"نمونه\"", "20",
              "61", "104" },
            "++++++++++++++++++++****0000--------", true, "بهنجار يا متوسط", "Normal", firstLog() },
        { { "07", "علي\nرضا", "رضايي", "پسر", "10", "", "B", "", "", "", "3", "0", kInvalid },
            "+*0-+*0-+*0-+*0-+*0-+*0-+*0-+*0-+*0-", true, "", "",
            // Stored out of their order: item 5's last is Seq 3, item 6's
            // Seq 4; item 7's only row has no latency.
            { { 3, 5, 3000 }, { 1, 5, 1000 }, { 4, 6, 2200 }, { 2, 6, QVariant() }, { 5, 7, QVariant() } } },
        { { "12", "سارا", "کريمي", "پسر", "5", "a\r\nb", "C", "1402/01/01", "1397/12/29", " فاطمي", "", "", "" },
            "------------------------------------", true, "", "" },
        { { "5", "Zoë", "احمدي", "دختر", "9", "سوم", "F", "1402/05/05", "1393/05/05", "x,y", "36", "99", "130" },
            "++++++++++++++++++++++++++++++++++++", true, "خيلي سرآمد", "Very Superior", longLog() },
        { { "99", "بي", "پاسخ", "", "6", "پيش", "A", "", "", "", "", "", "24.5" }, "", false, "", "",
            { { 1, 1, 800 } } },
    };
}

inline AnswerKey contentKey()
{
    TestContent content;
    QString error;
    if (!content.load(QStringLiteral(PELORIN_CONTENT_DIR), &error))
        qFatal("content: %s", qPrintable(error));
    AnswerKey key {};
    for (int i = 0; i < 36; ++i)
        key[size_t(i)] = content.answerKey().value(i);
    return key;
}

inline QString answerText(QChar mark, int key)
{
    if (mark == QLatin1Char('+'))
        return QString::number(key);
    if (mark == QLatin1Char('*'))
        return QString::number(key % 6 + 1);
    if (mark == QLatin1Char('0'))
        return QStringLiteral("0");
    return QString();
}

inline QString columnList(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &f : fields)
        quoted << Schema::quoted(f);
    return quoted.join(QLatin1Char(','));
}

/// Stores the examinees through bound statements.
inline void store(const QVector<Examinee> &people, const AnswerKey &key)
{
    QSqlDatabase db = Database::connection(Database::File::Examinee);
    for (const Examinee &e : people) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO IDE (%1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)")
                      .arg(columnList(Schema::ide().fieldsAt(1))));
        for (const QString &v : e.ide)
            q.addBindValue(v);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        for (const LogRow &l : e.log) {
            QSqlQuery log(db);
            log.prepare(QStringLiteral("INSERT INTO AnswerLog (Code, Seq, Item, Choice, LatencyMs, At) "
                                       "VALUES (?, ?, ?, 1, ?, '2022-10-20T10:00:00.000')"));
            log.addBindValue(e.ide[0]);
            log.addBindValue(l.seq);
            log.addBindValue(l.item);
            log.addBindValue(l.latencyMs);
            QVERIFY2(log.exec(), qPrintable(log.lastError().text()));
        }
        if (!e.hasAnswerRow)
            continue;
        QSqlQuery a(db);
        a.prepare(QStringLiteral("INSERT INTO Answer VALUES (?%1)").arg(QStringLiteral(",?").repeated(36)));
        a.addBindValue(e.ide[0]);
        for (int i = 0; i < 36; ++i)
            a.addBindValue(answerText(e.answers[i], key[size_t(i)]));
        QVERIFY2(a.exec(), qPrintable(a.lastError().text()));
    }
}

inline QStringList header()
{
    QStringList h = { "Code", "FName", "LName", "Jens", "Sen", "AgeMonths", "Tahsil", "Group", "DateEjra",
        "DateTavalod", "Azmayande", "NKham", "Hooshbahr", "RDarsadi", "Classification", "ClassificationEn" };
    for (const char *prefix : { "A", "C", "T" }) {
        for (int i = 1; i <= 36; ++i)
            h << QLatin1String(prefix) + QString::number(i);
    }
    return h;
}

/// \a ms as seconds with one decimal, halves up.
inline QString seconds(qint64 ms)
{
    const qint64 tenths = (ms + 50) / 100;
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

/// T1..T36 of \a code from the log: the latency of each item's last row by Seq.
inline QStringList expectedSeconds(const QString &code)
{
    QStringList t(36);
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.prepare(QStringLiteral("SELECT Item, LatencyMs FROM AnswerLog WHERE Code = ? ORDER BY Seq"));
    q.addBindValue(code);
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastError().text()));
    while (q.next()) {
        const int item = q.value(0).toInt();
        if (item >= 1 && item <= 36)
            t[item - 1] = q.value(1).isNull() ? QString() : seconds(q.value(1).toLongLong());
    }
    return t;
}

/// What the export of the IDE rows whose \a field equals \a value (all rows
/// when \a field is empty) must hold, read from the database file in stored order.
inline QVector<QStringList> expectedRows(
    const AnswerKey &key, const QString &field = QString(), const QString &value = QString())
{
    QHash<QString, Examinee> byCode;
    for (const Examinee &e : examinees())
        byCode.insert(e.ide[0], e);
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.prepare(QStringLiteral("SELECT * FROM IDE LEFT JOIN Answer ON Answer.Code = IDE.Code %1 ORDER BY IDE.rowid")
                  .arg(field.isEmpty() ? QString() : QStringLiteral("WHERE IDE.\"%1\" = ?").arg(field)));
    if (!field.isEmpty())
        q.addBindValue(value);
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastError().text()));
    QVector<QStringList> rows;
    while (q.next()) {
        const QSqlRecord r = q.record();
        auto get = [&](const QString &name, int from = 0) {
            for (int i = from; i < r.count(); ++i) {
                if (r.fieldName(i) == name)
                    return q.value(i).toString();
            }
            return QString();
        };
        QStringList row;
        for (const char *f : { "Code", "FName", "LName", "Jens", "Sen", "AgeMonths", "Tahsil", "Group", "DateEjra",
                 "DateTavalod", "Azmayande", "NKham", "Hooshbahr", "RDarsadi" })
            row << get(QLatin1String(f));
        const Examinee &e = byCode[row[0]];
        row << e.persianBand << e.englishBand;
        QStringList answers;
        for (int i = 1; i <= 36; ++i)
            answers << get(QString::number(i), 13);
        row << answers;
        for (int i = 0; i < 36; ++i)
            row << (answers[i] == QString::number(key[size_t(i)]) ? QStringLiteral("1") : QStringLiteral("0"));
        row << expectedSeconds(row[0]);
        rows << row;
    }
    return rows;
}

} // namespace ExportFixture
