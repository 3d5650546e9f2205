#pragma once

// Files for the backup tests: raw bytes, digests, candidate restore files.

#include "ProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUuid>

namespace BackupFixtures {

inline QByteArray randomBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(f.errorString()));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QByteArray digest(const QString &path)
{
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

/// Hidden temporary files a copy may have left in \a dir.
inline QStringList leftovers(const QString &dir)
{
    return QDir(dir)
        .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
        .filter(QRegularExpression(QStringLiteral("^\\.")));
}

/// Runs \a statements on the file in a connection of its own; \a code, when
/// given, is bound to every "?".
inline void runSql(const QString &path, const QStringList &statements, const QString &code = QString())
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &s : statements) {
            QSqlQuery q(db);
            QVERIFY2(q.prepare(s), qPrintable(q.lastError().text()));
            if (s.contains(QLatin1Char('?')))
                q.addBindValue(code);
            QVERIFY2(q.exec(), qPrintable(s + QStringLiteral(": ") + q.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

/// A backup of another examinee database: ours, with examinees of its own,
/// large enough that a cut-off copy loses data pages.
inline void makeGoodBackup(const QString &path)
{
    QString error;
    QVERIFY2(Schema::createExamineeFile(path, {}, &error), qPrintable(error));
    runSql(path,
        { QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
            " INSERT INTO IDE (Code, LName) SELECT ? || i, 'backup row with some length to fill pages' FROM n") },
        QStringLiteral("7001"));
    runSql(path,
        { QStringLiteral("INSERT INTO AnswerLog (Code, Seq, Item, Choice, LatencyMs, At) VALUES"
                         " (?, 1, 1, 4, 2300, '2022-10-20T09:01:02.345')") },
        QStringLiteral("7001"));
}

enum class Candidate {
    Good,
    RandomBytes,
    Empty,
    TruncatedHalf,
    HeaderOnly,
    DamagedPage,
    Foreign,
    ThemeFile,
    NewerVersion,
    MissingPPP,
    MissingAnswerLog,
    DeletingTrigger,
    IqTrigger,
    ViewForAnswer,
    OtherIdeDefinition,
    DuplicateCodes
};

inline void makeCandidate(Candidate kind, const QString &path)
{
    switch (kind) {
    case Candidate::Good:
        makeGoodBackup(path);
        break;
    case Candidate::RandomBytes:
        writeFile(path, randomBytes(20000));
        break;
    case Candidate::Empty:
        writeFile(path, QByteArray());
        break;
    case Candidate::TruncatedHalf:
    case Candidate::HeaderOnly: {
        makeGoodBackup(path);
        const QByteArray whole = readFile(path);
        writeFile(path, whole.left(kind == Candidate::HeaderOnly ? 100 : whole.size() / 2 + 1000));
        break;
    }
    case Candidate::DamagedPage: {
        makeGoodBackup(path);
        QByteArray whole = readFile(path);
        // The examinee rows' pages; the header stays intact.
        whole.replace(2 * 4096, 4096, randomBytes(4096));
        writeFile(path, whole);
        break;
    }
    case Candidate::Foreign:
        runSql(
            path, { QStringLiteral("CREATE TABLE IDE (Code TEXT)"), QStringLiteral("CREATE TABLE notes (body TEXT)") });
        break;
    case Candidate::ThemeFile: {
        QString error;
        QVERIFY2(Schema::createThemeFile(path, &error), qPrintable(error));
        break;
    }
    case Candidate::NewerVersion:
        makeGoodBackup(path);
        runSql(path, { QStringLiteral("PRAGMA user_version = %1").arg(Schema::kSchemaVersion + 1) });
        break;
    case Candidate::MissingAnswerLog:
        makeGoodBackup(path);
        runSql(path, { QStringLiteral("DROP TABLE AnswerLog") });
        break;
    case Candidate::MissingPPP:
        makeGoodBackup(path);
        runSql(path, { QStringLiteral("DROP TABLE PPP") });
        break;
    case Candidate::DeletingTrigger:
        makeGoodBackup(path);
        runSql(path,
            { QStringLiteral("CREATE TRIGGER t AFTER UPDATE ON IDE BEGIN DELETE FROM IDE WHERE rowid % 2 = 0; END") });
        break;
    case Candidate::IqTrigger:
        makeGoodBackup(path);
        runSql(path,
            { QStringLiteral("CREATE TRIGGER iq AFTER INSERT ON IDE BEGIN UPDATE IDE SET Hooshbahr = '150'; END") });
        break;
    case Candidate::ViewForAnswer:
        makeGoodBackup(path);
        runSql(path,
            { QStringLiteral("ALTER TABLE Answer RENAME TO AnswerRows"),
                QStringLiteral("CREATE VIEW Answer AS SELECT * FROM AnswerRows") });
        break;
    case Candidate::OtherIdeDefinition: {
        makeGoodBackup(path);
        // Same columns, but a CHECK that refuses every later registration.
        runSql(path,
            { QStringLiteral("PRAGMA writable_schema = ON"),
                QStringLiteral("UPDATE sqlite_master SET sql = substr(sql, 1, length(sql) - 1) || ', CHECK (0))'"
                               " WHERE type = 'table' AND name = 'IDE'") });
        break;
    }
    case Candidate::DuplicateCodes:
        makeGoodBackup(path);
        runSql(path, { QStringLiteral("INSERT INTO IDE (Code) VALUES ('70011')") });
        break;
    }
}

} // namespace BackupFixtures

Q_DECLARE_METATYPE(BackupFixtures::Candidate)
