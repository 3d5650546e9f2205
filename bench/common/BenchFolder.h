#pragma once

// A program folder in a temporary directory filled with many examinees.

#include "data/AppPaths.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

struct BenchFolder
{
    QTemporaryDir dir;

    explicit BenchFolder(int examinees)
    {
        AppPaths::setProgramDir(dir.path());
        QVector<Schema::NormsRow> norms;
        Schema::readNormsCsv(QStringLiteral(PELORIN_CONTENT_DIR "/norms.csv"), &norms, nullptr);
        QString error;
        if (!Schema::createExamineeFile(AppPaths::examineeDatabase(), norms, &error)
            || !Schema::createThemeFile(AppPaths::themeDatabase(), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
        fill(examinees);
    }

    /// Adds examinees with codes 1..n, names drawn from small lists and
    /// results filled in, plus their answer rows.
    static void fill(int n)
    {
        if (!Database::open(Database::File::Examinee, nullptr))
            std::exit(1);
        QSqlDatabase db = Database::connection(Database::File::Examinee);
        static const char *const first[] = { "علي", "مريم", "رضا", "زهرا", "حسين", "سارا", "محمد", "نرگس" };
        static const char *const last[]
            = { "احمدي", "محمدي", "رضايي", "کريمي", "حسيني", "موسوي", "جعفري", "صادقي", "قاسمي", "نوري" };
        db.transaction();
        QSqlQuery ide(db), answer(db);
        ide.prepare(QStringLiteral("INSERT INTO IDE VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,NULL)"));
        QStringList marks;
        for (int i = 0; i < 37; ++i)
            marks << QStringLiteral("?");
        answer.prepare(QStringLiteral("INSERT INTO Answer VALUES (%1)").arg(marks.join(QLatin1Char(','))));
        for (int i = 1; i <= n; ++i) {
            const QString code = QString::number(i);
            const QVariantList values = { code, QString::fromUtf8(first[i % 8]),
                QString::fromUtf8(last[(i / 8) % 10]) + QString::number(i % 97), QStringLiteral("پسر"),
                QString::number(5 + i % 6), QStringLiteral("دبستان"), QString(QChar(u'A' + i % 5)),
                QStringLiteral("1401/07/28"), QStringLiteral("1395/01/01"), QStringLiteral("دکتر نمونه"),
                QString::number(i % 37), QString::number(i % 99), QString::number(70 + i % 60) };
            for (int k = 0; k < values.size(); ++k)
                ide.bindValue(k, values[k]);
            answer.bindValue(0, code);
            for (int k = 1; k <= 36; ++k)
                answer.bindValue(k, QString::number((i + k) % 7));
            if (!ide.exec() || !answer.exec())
                qFatal("bench folder: %s%s", qPrintable(ide.lastError().text()), qPrintable(answer.lastError().text()));
        }
        db.commit();
    }

    /// Adds a click log of 36 rows for each of the examinees 1..n, in test
    /// order: the last row answers an earlier item again, so one item is
    /// logged twice and item 36 of most examinees never.
    static void fillLog(int n)
    {
        QSqlQuery q(Database::connection(Database::File::Examinee));
        q.prepare(
            QStringLiteral("WITH RECURSIVE e(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM e WHERE i < ?), "
                           "s(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM s WHERE k < 36) "
                           "INSERT INTO AnswerLog (Code, Seq, Item, Choice, LatencyMs, At) "
                           "SELECT CAST(i AS TEXT), k, CASE WHEN k = 36 THEN i % 36 + 1 ELSE k END, (i + k) % 6 + 1, "
                           "800 + (i * 131 + k * 977) % 45000, '2022-10-20T10:00:00.000' FROM e CROSS JOIN s"));
        q.addBindValue(n);
        if (!q.exec())
            qFatal("bench folder: %s", qPrintable(q.lastError().text()));
    }
};

inline double msSince(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}
