#include "data/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString &overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString AppPaths::programDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setProgramDir(const QString &dir)
{
    overrideDir() = dir.isEmpty() ? QString() : QDir::cleanPath(dir);
}

QString AppPaths::inProgramDir(const QString &name)
{
    return QDir(programDir()).filePath(name);
}

QString AppPaths::examineeDatabase() { return inProgramDir(QStringLiteral("DBres.mdb")); }
QString AppPaths::themeDatabase() { return inProgramDir(QStringLiteral("Theme.skn")); }
QString AppPaths::logoFile() { return inProgramDir(QStringLiteral(".jpg")); }
QString AppPaths::contentDir() { return inProgramDir(QStringLiteral("content")); }
QString AppPaths::backupDir() { return inProgramDir(QStringLiteral("Back")); }

QString AppPaths::freeBackupPath(const QString &stem, const QString &extension)
{
    const QDir back(backupDir());
    QString path = back.filePath(stem + extension);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = back.filePath(QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension));
    return path;
}
