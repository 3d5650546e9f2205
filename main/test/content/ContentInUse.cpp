#include "test/content/ContentInUse.h"

#include "data/AppPaths.h"
#include "test/content/ContentTexts.h"
#include "test/content/PackInstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

ContentInUse ContentInUse::current()
{
    return at(AppPaths::dataDir(), AppPaths::contentDir());
}

ContentInUse ContentInUse::at(const QString &dataDir, const QString &bundledDir)
{
    ContentInUse use;
    use.dir = bundledDir;
    const QString packDir = PackInstall::activePackDir(dataDir);
    if (packDir.isEmpty())
        return use;
    QFile manifest(QDir(packDir).filePath(QStringLiteral("manifest.json")));
    if (!manifest.open(QIODevice::ReadOnly))
        return use;
    const QJsonObject m = QJsonDocument::fromJson(manifest.readAll()).object();
    use.dir = packDir;
    use.pack = true;
    use.name = m.value(QStringLiteral("name")).toString();
    use.version = m.value(QStringLiteral("contentVersion")).toString();
    // The folder is named after the fingerprint the pack had when installed.
    use.fingerprint = QFileInfo(packDir).fileName();
    return use;
}

QString ContentInUse::footerLine() const
{
    return pack ? ContentTexts::packLine.arg(name, version, fingerprint) : ContentTexts::demonstrationLine;
}
