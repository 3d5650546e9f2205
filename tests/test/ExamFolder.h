#pragma once

// A program folder for the examination tests: fresh database files with a
// norms table whose every cell is distinct, and the shipped content.

#include "data/AppPaths.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "data/Schema.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

/// IQ and percentile of the fixture's norms: IQ 20 + 4 r + (age - 5),
/// percentile 10 r + (age - 5). Raw 6 at age 5 is 20 (below every band),
/// raw 7 at age 5 is "109.5" (between two bands); raw 36 has no row.
inline QString fixtureIq(int raw, int age)
{
    if (raw == 6 && age == 5)
        return QStringLiteral("20");
    if (raw == 7 && age == 5)
        return QStringLiteral("109.5");
    return QString::number(20 + 4 * raw + (age - 5));
}
inline QString fixturePercentile(int raw, int age)
{
    return QString::number(10 * raw + (age - 5));
}

struct ExamFolder
{
    QTemporaryDir dir;

    ExamFolder()
    {
        AppPaths::setProgramDir(dir.path());
        QVector<Schema::NormsRow> norms;
        for (int raw = 5; raw <= 35; ++raw) {
            Schema::NormsRow row { QString::number(raw), {}, {} };
            for (int age = 5; age <= 10; ++age) {
                row.iq << fixtureIq(raw, age);
                row.percentile << fixturePercentile(raw, age);
            }
            norms << row;
        }
        QString error;
        if (!Schema::createExamineeFile(AppPaths::examineeDatabase(), norms, &error)
            || !Schema::createThemeFile(AppPaths::themeDatabase(), &error)
            || !QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir())
            || !Database::open(Database::File::Examinee, &error) || !Database::open(Database::File::Theme, &error))
            qFatal("fixture: %s", qPrintable(error));
    }
    ~ExamFolder()
    {
        Database::closeAll();
        AppPaths::setProgramDir(QString());
    }
};

/// Stores an examinee's IDE and Answer rows as registration leaves them.
inline void addExaminee(const QString &code, const QString &age = QStringLiteral("7"),
    const QString &firstName = QStringLiteral("سارا"), const QString &lastName = QStringLiteral("کريمي"))
{
    RecordSource ide, answer;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    ide.addNew();
    ide.setField(QStringLiteral("Code"), code);
    ide.setField(QStringLiteral("FName"), firstName);
    ide.setField(QStringLiteral("LName"), lastName);
    ide.setField(QStringLiteral("Sen"), age);
    QVERIFY(ide.update());
    answer.addNew();
    answer.setField(QStringLiteral("Code"), code);
    QVERIFY(answer.update());
}

/// One field of the stored row with \a code, read straight from the file.
inline QString storedField(const QString &table, const QString &code, const QString &field)
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE Code = ?").arg(Schema::quoted(field), Schema::quoted(table)));
    q.addBindValue(code);
    if (!q.exec() || !q.next())
        return QStringLiteral("<no row>");
    return q.value(0).toString();
}

inline int storedRows(const QString &table)
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(Schema::quoted(table)));
    q.next();
    return q.value(0).toInt();
}
