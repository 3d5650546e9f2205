#pragma once

// A portable program folder in a temporary directory with freshly made
// database files: its data stays beside the program.

#include "data/AppPaths.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "data/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

struct ProgramFolder
{
    QTemporaryDir dir;

    ProgramFolder()
    {
        AppPaths::setProgramDir(dir.path());
        QFile marker(AppPaths::portableMarker());
        if (!marker.open(QIODevice::WriteOnly))
            qFatal("fixture: %s", qPrintable(marker.errorString()));
        QVector<Schema::NormsRow> norms;
        for (int raw = 5; raw <= 36; ++raw)
            norms.append({ QString::number(raw), QStringList(6, QString::number(60 + raw)),
                QStringList(6, QString::number(raw)) });
        QString error;
        if (!Schema::createExamineeFile(AppPaths::examineeDatabase(), norms, &error)
            || !Schema::createThemeFile(AppPaths::themeDatabase(), &error))
            qFatal("fixture: %s", qPrintable(error));
    }
    ~ProgramFolder()
    {
        Database::closeAll();
        AppPaths::setProgramDir(QString());
    }
    bool openAll()
    {
        QString error;
        return Database::open(Database::File::Examinee, &error) && Database::open(Database::File::Theme, &error);
    }
};

/// Adds an IDE row through its own record source and stores it.
inline void addExaminee(const QString &code, const QString &lastName = QString())
{
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    s.addNew();
    s.setField(QStringLiteral("Code"), code);
    s.setField(QStringLiteral("LName"), lastName);
    QVERIFY(s.update());
}

/// SHA-256 of the file's bytes (empty when it cannot be read).
inline QByteArray fileDigest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

/// Another program holding an exclusive lock on the file at \a path through
/// a connection of its own, until it goes. The program's connections wait
/// only a moment for it, so a test does not sit out the usual wait.
struct ExclusiveLock
{
    QString name = QStringLiteral("other-program");

    explicit ExclusiveLock(const QString &path)
    {
        for (Database::File f : { Database::File::Examinee, Database::File::Theme }) {
            QSqlDatabase own = Database::connection(f);
            if (own.isOpen())
                QSqlQuery(own).exec(QStringLiteral("PRAGMA busy_timeout = 20"));
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")))
            qFatal("fixture: cannot lock %s", qPrintable(path));
    }
    ~ExclusiveLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
};
