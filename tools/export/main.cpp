// pelorin-export: the examinee list as CSV, Excel or SPSS, from the command
// line. Reads the database read-only and never changes it.
//
// Exit status: 0 written, 1 no examinee with the given code, 2 bad
// arguments, an unreadable or foreign database, missing test materials or an
// output that cannot be written.

#include "data/AppPaths.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "export/ExportFile.h"
#include "export/ExportTable.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

constexpr int kWritten = 0;
constexpr int kNoSuchCode = 1;
constexpr int kFailed = 2;

const char kUsage[] = "Usage: pelorin-export [--db FILE] [--code CODE] [--format csv|xlsx|sav] -o OUTPUT\n"
                      "Writes the examinees with their results and answers to OUTPUT.\n"
                      "  --db FILE       the examinee database (default: DBres.mdb in the program folder)\n"
                      "  --code CODE     only the examinee with this code (exactly as stored)\n"
                      "  --format F      csv, xlsx or sav (default: OUTPUT's extension)\n"
                      "  -o, --output F  the file to write; it is replaced only once complete\n"
                      "  -h, --help      this text\n"
                      "Exit status: 0 written, 1 no examinee with that code, 2 any other failure.\n";

int failWith(const QString &message)
{
    std::fprintf(
        stderr, "pelorin-export: %s\n", qPrintable(QString(message).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    return kFailed;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption db(QStringLiteral("db"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption code(QStringLiteral("code"), QString(), QStringLiteral("CODE"));
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("F"));
    const QCommandLineOption output(
        QStringList { QStringLiteral("o"), QStringLiteral("output") }, QString(), QStringLiteral("F"));
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    parser.addOptions({ db, code, format, output, help });
    if (!parser.parse(app.arguments()))
        return failWith(parser.errorText() + QLatin1String(" (see --help)"));
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        return kWritten;
    }
    if (!parser.positionalArguments().isEmpty())
        return failWith(
            QStringLiteral("unexpected argument %1 (see --help)").arg(parser.positionalArguments().first()));
    for (const QCommandLineOption &once : { db, code, format, output }) {
        if (parser.values(once).size() > 1)
            return failWith(QStringLiteral("--%1 given twice").arg(once.names().last()));
    }
    const QString out = parser.value(output);
    if (out.isEmpty())
        return failWith(QStringLiteral("no output file (-o OUTPUT, see --help)"));
    const std::optional<ExportFormat> chosen
        = parser.isSet(format) ? ExportFormatNamed(parser.value(format)) : ExportFormatOf(out);
    if (!chosen)
        return failWith(parser.isSet(format)
                ? QStringLiteral("unknown format %1 (csv, xlsx or sav)").arg(parser.value(format))
                : QStringLiteral("%1: no known extension, give --format csv|xlsx|sav").arg(out));

    QString error;
    const QString dbPath = parser.isSet(db) ? parser.value(db) : AppPaths::examineeDatabase();
    if (!Database::openReadOnly(Database::File::Examinee, dbPath, &error))
        return failWith(error);
    AnswerKey key {};
    if (!LoadExportKey(AppPaths::contentDir(), &key, &error))
        return failWith(error);
    RecordSource ide, answers;
    if (!ide.open(Database::File::Examinee, QStringLiteral("IDE"), &error)
        || !answers.open(Database::File::Examinee, QStringLiteral("Answer"), &error))
        return failWith(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(dbPath), error));
    if (parser.isSet(code)) {
        ide.setFilter(QStringLiteral("Code"), parser.value(code));
        if (ide.rowCount() == 0) {
            std::fprintf(stderr, "pelorin-export: no examinee with code %s\n", qPrintable(parser.value(code)));
            return kNoSuchCode;
        }
    }
    AnswerLog::FinalLatencies latencies;
    if (!latencies.read(Database::connection(Database::File::Examinee), &error))
        return failWith(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(dbPath), error));
    if (!ExportToFile(ExportTable(ide, answers, key, latencies), *chosen, out, &error))
        return failWith(error);
    Database::closeAll();
    return kWritten;
}
