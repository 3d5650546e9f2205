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

struct Examinee
{
    QStringList ide; ///< the 13 IDE fields in table order
    QString answers; ///< one character per item, '-' for an empty slot, '+' for the key, '*' for a wrong option
    bool hasAnswerRow = true;
    QString persianBand, englishBand;
};

// Code, FName, LName, Jens, Sen, Tahsil, Group, DateEjra, DateTavalod, Azmayande, NKham, RDarsadi, Hooshbahr
inline QVector<Examinee> examinees()
{
    return {
        { { "1", "مريم", "O'Neil", "دختر", "7", "اول, دبستان", "A", "1401/07/28", "1394/02/03", "دکتر \"نمونه\"", "20",
              "61", "104" },
            "++++++++++++++++++++****0000--------", true, "بهنجار يا متوسط", "Normal" },
        { { "07", "علي\nرضا", "رضايي", "پسر", "10", "", "B", "", "", "", "3", "0", kInvalid },
            "+*0-+*0-+*0-+*0-+*0-+*0-+*0-+*0-+*0-", true, "", "" },
        { { "12", "سارا", "کريمي", "پسر", "5", "a\r\nb", "C", "1402/01/01", "1397/12/29", " فاطمي", "", "", "" },
            "------------------------------------", true, "", "" },
        { { "5", "Zoë", "احمدي", "دختر", "9", "سوم", "F", "1402/05/05", "1393/05/05", "x,y", "36", "99", "130" },
            "++++++++++++++++++++++++++++++++++++", true, "خيلي سرآمد", "Very Superior" },
        { { "99", "بي", "پاسخ", "", "6", "پيش", "A", "", "", "", "", "", "24.5" }, "", false, "", "" },
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
    QStringList h = { "Code", "FName", "LName", "Jens", "Sen", "AgeMonths", "Tahsil", "Group", "DateEjra", "DateTavalod",
        "Azmayande", "NKham", "Hooshbahr", "RDarsadi", "Classification", "ClassificationEn" };
    for (const char *prefix : { "A", "C" }) {
        for (int i = 1; i <= 36; ++i)
            h << QLatin1String(prefix) + QString::number(i);
    }
    return h;
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
        for (const char *f : { "Code", "FName", "LName", "Jens", "Sen", "AgeMonths", "Tahsil", "Group", "DateEjra", "DateTavalod",
                 "Azmayande", "NKham", "Hooshbahr", "RDarsadi" })
            row << get(QLatin1String(f));
        const Examinee &e = byCode[row[0]];
        row << e.persianBand << e.englishBand;
        QStringList answers;
        for (int i = 1; i <= 36; ++i)
            answers << get(QString::number(i), 13);
        row << answers;
        for (int i = 0; i < 36; ++i)
            row << (answers[i] == QString::number(key[size_t(i)]) ? QStringLiteral("1") : QStringLiteral("0"));
        rows << row;
    }
    return rows;
}

} // namespace ExportFixture
