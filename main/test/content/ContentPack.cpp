#include "test/content/ContentPack.h"

#include "test/content/Zip.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QtEndian>

namespace {

const QString ManifestName = QStringLiteral("manifest.json");

QString fileError(const QString &path, const QString &what)
{
    return QStringLiteral("%1: %2").arg(path, what);
}

} // namespace

bool ContentPack::takeManifest(const QByteArray &bytes, QString *error)
{
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        if (error)
            *error = fileError(ManifestName,
                parse.error != QJsonParseError::NoError
                    ? QStringLiteral("not valid JSON at offset %1 (%2)").arg(parse.offset).arg(parse.errorString())
                    : QStringLiteral("must hold a JSON object"));
        return false;
    }
    m_manifest = doc.object();
    m_files.insert(ManifestName, bytes);
    return true;
}

bool ContentPack::loadFolder(const QString &dir, QString *error)
{
    m_files.clear();
    const QDir folder(dir);
    QFile manifest(folder.absoluteFilePath(ManifestName));
    if (!manifest.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileError(manifest.fileName(), manifest.errorString());
        return false;
    }
    if (!takeManifest(manifest.readAll(), error))
        return false;
    for (const QString &name : namedFiles()) {
        // A name climbing out of the folder is the manifest's fault; check() says so.
        if (name.contains(QLatin1String("..")) || QFileInfo(name).isAbsolute())
            continue;
        QFile f(folder.absoluteFilePath(name));
        if (f.open(QIODevice::ReadOnly))
            m_files.insert(name, f.readAll());
    }
    return true;
}

bool ContentPack::loadArchive(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileError(path, f.errorString());
        return false;
    }
    QString why;
    if (!loadArchiveBytes(f.readAll(), &why)) {
        if (error)
            *error = fileError(path, why);
        return false;
    }
    return true;
}

bool ContentPack::loadArchiveBytes(const QByteArray &bytes, QString *error)
{
    m_files.clear();
    m_manifest = {};
    QVector<Zip::Member> members;
    if (!Zip::read(bytes, &members, error))
        return false;
    QByteArray manifest;
    bool found = false;
    for (const Zip::Member &m : members) {
        if (m.name == ManifestName) {
            manifest = m.data;
            found = true;
        } else {
            m_files.insert(m.name, m.data);
        }
    }
    if (!found) {
        if (error)
            *error = QStringLiteral("the pack holds no manifest.json");
        return false;
    }
    return takeManifest(manifest, error);
}

QByteArray ContentPack::archiveBytes() const
{
    QVector<Zip::Member> members;
    members.append({ ManifestName, m_files.value(ManifestName) });
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        if (it.key() != ManifestName)
            members.append({ it.key(), it.value() });
    }
    return Zip::write(members);
}

bool ContentPack::saveArchive(const QString &path, QString *error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(archiveBytes()) < 0 || !f.commit()) {
        if (error)
            *error = fileError(path, f.errorString());
        return false;
    }
    return true;
}

bool ContentPack::extractTo(const QString &dir, QString *error) const
{
    const QDir root(dir);
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        const QString path = root.absoluteFilePath(it.key());
        QSaveFile f(path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !f.open(QIODevice::WriteOnly) || f.write(it.value()) < 0
            || !f.commit()) {
            if (error)
                *error = fileError(path, f.errorString());
            return false;
        }
    }
    return true;
}

QString ContentPack::fingerprint() const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    auto add = [&](const QString &name, const QByteArray &data) {
        hash.addData(name.toUtf8());
        hash.addData(QByteArrayView("\0", 1));
        char size[8];
        qToBigEndian(quint64(data.size()), size);
        hash.addData(QByteArrayView(size, 8));
        hash.addData(data);
    };
    add(ManifestName, m_files.value(ManifestName));
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        if (it.key() != ManifestName)
            add(it.key(), it.value());
    }
    return QString::fromLatin1(hash.result().toHex());
}

void ContentPack::setManifest(const QJsonObject &manifest)
{
    m_manifest = manifest;
    m_files.insert(ManifestName, QJsonDocument(manifest).toJson(QJsonDocument::Indented));
}

QString ContentPack::name() const
{
    return m_manifest.value(QStringLiteral("name")).toString();
}
QString ContentPack::contentVersion() const
{
    return m_manifest.value(QStringLiteral("contentVersion")).toString();
}
QString ContentPack::created() const
{
    return m_manifest.value(QStringLiteral("created")).toString();
}

QStringList ContentPack::namedFiles() const
{
    QStringList names;
    auto add = [&](const QJsonValue &v) {
        const QString s = v.toString();
        if (!s.isEmpty() && !names.contains(s))
            names.append(s);
    };
    const QJsonArray items = m_manifest.value(QStringLiteral("items")).toArray();
    for (const QJsonValue &item : items) {
        add(item.toObject().value(QStringLiteral("picture")));
        add(item.toObject().value(QStringLiteral("picture2x")));
    }
    add(m_manifest.value(QStringLiteral("answerForm")));
    const QJsonObject art = m_manifest.value(QStringLiteral("art")).toObject();
    for (auto it = art.begin(); it != art.end(); ++it)
        add(it.value());
    add(m_manifest.value(QStringLiteral("norms")));
    return names;
}
