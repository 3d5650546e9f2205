// pelorin-content: checks a content pack (or a folder laid out like
// content/), builds a pack from such a folder and installs a pack.
//
// Exit status: 0 done (warnings may have been printed), 2 an error in the
// pack, bad arguments or a file that cannot be read or written.

#include "data/AppPaths.h"
#include "test/content/ContentPack.h"
#include "test/content/PackCheck.h"
#include "test/content/PackInstall.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QJsonObject>

#include <cstdio>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 2;

const char kUsage[] = "Usage: pelorin-content check FILE|FOLDER\n"
                      "       pelorin-content pack FOLDER -o FILE [--name NAME] [--version VERSION]\n"
                      "       pelorin-content install FILE [--data-dir DIR]\n"
                      "       pelorin-content bundled [--data-dir DIR]\n"
                      "  check  prints every fault of a pack or a content folder\n"
                      "  pack   builds a .pelorin-content pack from a folder laid out like content/;\n"
                      "         --name and --version fill in (or replace) the manifest's name and\n"
                      "         contentVersion, created is set to now when missing\n"
                      "  install  makes the pack the content in use and loads its norms into PPP\n"
                      "         (the database is first copied into Back); default: the data folder\n"
                      "  bundled  goes back to the bundled demonstration set and its norms\n"
                      "         (the database is first copied into Back)\n"
                      "Exit status: 0 no error (warnings are printed), 2 an error.\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return kFailed;
}

int failWith(const QString &message)
{
    std::fprintf(stderr, "pelorin-content: %s\n", qPrintable(message));
    return kFailed;
}

bool load(const QString &path, ContentPack *pack, QString *error)
{
    return QFileInfo(path).isDir() ? pack->loadFolder(path, error) : pack->loadArchive(path, error);
}

// Prints the faults; true when none of them is an error.
bool report(const QVector<PackFault> &faults)
{
    for (const QString &line : PackCheck::describe(faults))
        std::printf("%s\n", qPrintable(line));
    return !PackCheck::hasErrors(faults);
}

int check(const QString &path)
{
    ContentPack pack;
    QString error;
    if (!load(path, &pack, &error))
        return failWith(error);
    const bool folder = QFileInfo(path).isDir();
    const QVector<PackFault> faults
        = PackCheck::check(pack, folder ? PackCheck::Fields::Optional : PackCheck::Fields::Required);
    const bool ok = report(faults);
    if (ok && !folder)
        std::printf("%s %s %s\n", qPrintable(pack.name()), qPrintable(pack.contentVersion()),
            qPrintable(pack.shortFingerprint()));
    return ok ? kDone : kFailed;
}

int pack(const QStringList &args)
{
    QString folder, output, name, version;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == QLatin1String("-o") || a == QLatin1String("--output")) && hasValue)
            output = args[++i];
        else if (a == QLatin1String("--name") && hasValue)
            name = args[++i];
        else if (a == QLatin1String("--version") && hasValue)
            version = args[++i];
        else if (folder.isEmpty() && !a.startsWith(QLatin1Char('-')))
            folder = a;
        else
            return usage();
    }
    if (folder.isEmpty() || output.isEmpty() || !QFileInfo(folder).isDir())
        return usage();
    ContentPack pack;
    QString error;
    if (!pack.loadFolder(folder, &error))
        return failWith(error);
    QJsonObject manifest = pack.manifest();
    if (!name.isEmpty())
        manifest.insert(QStringLiteral("name"), name);
    if (!version.isEmpty())
        manifest.insert(QStringLiteral("contentVersion"), version);
    if (manifest.value(QStringLiteral("created")).toString().isEmpty())
        manifest.insert(QStringLiteral("created"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (manifest != pack.manifest())
        pack.setManifest(manifest);
    if (!report(PackCheck::check(pack)))
        return kFailed;
    if (!pack.saveArchive(output, &error))
        return failWith(error);
    std::printf("%s: %s %s %s\n", qPrintable(output), qPrintable(pack.name()), qPrintable(pack.contentVersion()),
        qPrintable(pack.shortFingerprint()));
    return kDone;
}

// "--data-dir DIR" of \a args, or the program's data folder; false on a stray argument.
bool dataDirOf(const QStringList &args, QString *dataDir)
{
    *dataDir = AppPaths::dataDir();
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--data-dir") && i + 1 < args.size())
            *dataDir = args[++i];
        else
            return false;
    }
    return true;
}

int bundled(const QStringList &args)
{
    QString dataDir;
    if (!dataDirOf(args, &dataDir))
        return usage();
    PackInstall::Result result;
    QString error;
    if (!PackInstall::useBundled(AppPaths::contentDir(), dataDir, &result, &error))
        return failWith(error);
    std::printf("back to the bundled set; the earlier database is kept as %s\n", qPrintable(result.safetyCopy));
    return kDone;
}

int install(const QStringList &args)
{
    QString file, dataDir = AppPaths::dataDir();
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--data-dir") && i + 1 < args.size())
            dataDir = args[++i];
        else if (file.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            file = args[i];
        else
            return usage();
    }
    if (file.isEmpty())
        return usage();
    ContentPack pack;
    QString error;
    if (!pack.loadArchive(file, &error))
        return failWith(error);
    if (!report(PackCheck::check(pack)))
        return kFailed;
    PackInstall::Result result;
    if (!PackInstall::install(pack, dataDir, &result, &error))
        return failWith(error);
    std::printf("installed %s %s %s; the earlier database is kept as %s\n", qPrintable(pack.name()),
        qPrintable(pack.contentVersion()), qPrintable(pack.shortFingerprint()), qPrintable(result.safetyCopy));
    return kDone;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("check"))
        return check(args[1]);
    if (!args.isEmpty() && args[0] == QLatin1String("pack"))
        return pack(args.mid(1));
    if (!args.isEmpty() && args[0] == QLatin1String("install"))
        return install(args.mid(1));
    if (!args.isEmpty() && args[0] == QLatin1String("bundled"))
        return bundled(args.mid(1));
    return usage();
}
