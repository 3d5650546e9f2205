#include "data/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
struct Overrides
{
    QString programDir;
    QString dataDir;
};

Overrides &overrides()
{
    static Overrides o;
    return o;
}
} // namespace

QString AppPaths::programDir()
{
    if (!overrides().programDir.isEmpty())
        return overrides().programDir;
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setProgramDir(const QString &dir)
{
    const QString clean = dir.isEmpty() ? QString() : QDir::cleanPath(dir);
    overrides().programDir = clean;
    overrides().dataDir = clean;
}

QString AppPaths::dataDir()
{
    if (!overrides().dataDir.isEmpty())
        return overrides().dataDir;
    return isPortable() ? programDir() : userDataDir();
}

void AppPaths::setDataDir(const QString &dir)
{
    overrides().dataDir = dir.isEmpty() ? QString() : QDir::cleanPath(dir);
}

QString AppPaths::userDataDir()
{
    // Named here rather than taken from the application name, so that every
    // executable (tests, tools) agrees on one folder.
    return QDir::cleanPath(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pelorin"));
}

QString AppPaths::portableMarker()
{
    return inProgramDir(QStringLiteral("Pelorin.portable"));
}
bool AppPaths::isPortable()
{
    return QFileInfo::exists(portableMarker());
}
QString AppPaths::templatesDir()
{
    return inProgramDir(QStringLiteral("templates"));
}

QString AppPaths::inProgramDir(const QString &name)
{
    return QDir(programDir()).filePath(name);
}
QString AppPaths::inDataDir(const QString &name)
{
    return QDir(dataDir()).filePath(name);
}

QString AppPaths::examineeDatabase()
{
    return inDataDir(QStringLiteral("DBres.mdb"));
}
QString AppPaths::themeDatabase()
{
    return inDataDir(QStringLiteral("Theme.skn"));
}
QString AppPaths::logoFile()
{
    return inDataDir(QStringLiteral(".jpg"));
}
QString AppPaths::backupDir()
{
    return inDataDir(QStringLiteral("Back"));
}
QString AppPaths::contentDir()
{
    return inProgramDir(QStringLiteral("content"));
}

QString AppPaths::freeBackupPath(const QString &stem, const QString &extension)
{
    const QDir back(backupDir());
    QString path = back.filePath(stem + extension);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = back.filePath(QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension));
    return path;
}
