// Code proposal and registration save with 10,000 and 100,000 examinees.
#include "bench/common/Stats.h"
#include "data/AppPaths.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "data/Schema.h"
#include "mainwindow/registration/Registration.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void fill(int examinees)
{
    QSqlDatabase db = Database::connection(Database::File::Examinee);
    db.transaction();
    QSqlQuery ide(db), answer(db);
    ide.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, LName, Jens, Sen, Tahsil, \"Group\", DateEjra, "
                               "DateTavalod, Azmayande, NKham, RDarsadi, Hooshbahr) "
                               "VALUES (?, 'علي', 'رضايي', 'پسر', '7', 'اول', 'A', '1401/07/28', '1394/02/11', "
                               "'دکتر احمدي', '21', '50', '100')"));
    QStringList columns { QStringLiteral("Code") }, marks { QStringLiteral("?") };
    for (int i = 1; i <= 36; ++i) {
        columns << Schema::quoted(QString::number(i));
        marks << QStringLiteral("'%1'").arg(i % 6 + 1);
    }
    answer.prepare(QStringLiteral("INSERT INTO Answer (%1) VALUES (%2)").arg(columns.join(','), marks.join(',')));
    for (int i = 1; i <= examinees; ++i) {
        ide.addBindValue(QString::number(i));
        ide.exec();
        answer.addBindValue(QString::number(i));
        answer.exec();
    }
    db.commit();
}

void run(int examinees)
{
    QTemporaryDir dir;
    AppPaths::setProgramDir(dir.path());
    QString error;
    if (!Schema::createExamineeFile(AppPaths::examineeDatabase(), {}, &error)
        || !Database::open(Database::File::Examinee, &error))
        qFatal("%s", qPrintable(error));
    fill(examinees);

    RecordSource Adodc1, Adodc2, Adodc3, Adodc5;
    QElapsedTimer t;
    t.start();
    Adodc1.open(Database::File::Examinee, QStringLiteral("IDE"));
    Adodc2.open(Database::File::Examinee, QStringLiteral("IDE"));
    Adodc3.open(Database::File::Examinee, QStringLiteral("Answer"));
    Adodc5.open(Database::File::Examinee, QStringLiteral("IDE"));
    const double openMs = t.nsecsElapsed() / 1e6;

    std::vector<double> refresh, propose, save;
    for (int round = 0; round < 7; ++round) {
        t.restart();
        Adodc5.refresh();
        refresh.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        const QString code = SuggestNextCode(&Adodc5);
        propose.push_back(t.nsecsElapsed() / 1e6);

        RegistrationForm form;
        form.code = code;
        form.firstName = QStringLiteral("سارا");
        form.lastName = QStringLiteral("کريمي");
        form.sex = QStringLiteral("دختر");
        form.age = QStringLiteral("6");
        form.education = QStringLiteral("پيش دبستاني");
        form.group = QStringLiteral("B");
        t.restart();
        if (SaveRegistration(form, &Adodc1, &Adodc2, &Adodc3, &error) != SaveOutcome::Saved)
            qFatal("save failed: %s", qPrintable(error));
        save.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%7d examinees: open 4 sources %.1f ms; IDE refresh median %.1f ms; "
                "SuggestNextCode median %.1f ms; registration save median %.1f ms\n",
        examinees, openMs, median(refresh), median(propose), median(save));
    Database::closeAll();
    AppPaths::setProgramDir(QString());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    for (int n : { 10000, 100000 })
        run(n);
    return 0;
}
