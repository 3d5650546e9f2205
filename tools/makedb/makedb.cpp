// Makes the templates of the data files: DBres.mdb (schema and norms),
// Theme.skn (the one profile row) and the logo file ".jpg". The program
// copies them into a new data folder on its first start. Files that exist
// are left exactly as they are.

#include "data/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        err << "usage: makedb <templates folder> <norms.csv> <default logo>\n";
        return 2;
    }
    const QDir dir(args[1]);
    if (!QDir().mkpath(dir.path())) {
        err << "makedb: cannot create " << dir.path() << "\n";
        return 1;
    }
    QString error;
    const QString examinee = dir.filePath(QStringLiteral("DBres.mdb"));
    if (!QFile::exists(examinee)) {
        QVector<Schema::NormsRow> norms;
        if (!Schema::readNormsCsv(args[2], &norms, &error) || !Schema::createExamineeFile(examinee, norms, &error)) {
            err << "makedb: " << error << "\n";
            return 1;
        }
    }
    const QString theme = dir.filePath(QStringLiteral("Theme.skn"));
    if (!QFile::exists(theme) && !Schema::createThemeFile(theme, &error)) {
        err << "makedb: " << error << "\n";
        return 1;
    }
    const QString logo = dir.filePath(QStringLiteral(".jpg"));
    if (!QFile::exists(logo) && QFile::exists(args[3]) && !QFile::copy(args[3], logo)) {
        err << "makedb: cannot write " << logo << "\n";
        return 1;
    }
    // Installed as they are: readable by all, written by nobody but the build.
    for (const QString &file : { examinee, theme, logo })
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return 0;
}
