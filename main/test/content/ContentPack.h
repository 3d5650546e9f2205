#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVector>

/// One fault found in a pack, naming the item, file or cell.
struct PackFault
{
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    QString text;
    /// For a norms cell: the raw score and the PPP column (1..12, 5..10 then
    /// 5p..10p); 0 when the fault is not about one cell.
    int rawScore = 0;
    int column = 0;

    bool isError() const { return severity == Severity::Error; }
};

/// A content pack: the manifest and the files it names, in memory. Made from
/// a folder laid out like content/ or read from a .pelorin-content archive.
class ContentPack
{
public:
    static constexpr const char *Suffix = ".pelorin-content";

    /// Reads <dir>/manifest.json and every file it names. Named files that
    /// are missing are left out (check() reports them).
    bool loadFolder(const QString &dir, QString *error);
    bool loadArchive(const QString &path, QString *error);
    bool loadArchiveBytes(const QByteArray &bytes, QString *error);

    /// Writes the archive in one go through a temporary file.
    bool saveArchive(const QString &path, QString *error) const;
    QByteArray archiveBytes() const;
    /// Writes every file below \a dir (made if missing).
    bool extractTo(const QString &dir, QString *error) const;

    /// SHA-256 of the manifest then every other file in name order, each as
    /// name, NUL, 8-byte length, bytes. Lower-case hex.
    QString fingerprint() const;
    QString shortFingerprint() const { return fingerprint().left(12); }

    QJsonObject manifest() const { return m_manifest; }
    /// Replaces the manifest (its bytes are written anew).
    void setManifest(const QJsonObject &manifest);
    QString name() const;
    QString contentVersion() const;
    QString created() const;

    QMap<QString, QByteArray> files() const { return m_files; } ///< includes manifest.json
    QByteArray file(const QString &name) const { return m_files.value(name); }
    void setFile(const QString &name, const QByteArray &data) { m_files.insert(name, data); }
    void removeFile(const QString &name) { m_files.remove(name); }
    /// The files the manifest names (pictures, answer form, art, norms).
    QStringList namedFiles() const;

private:
    bool takeManifest(const QByteArray &bytes, QString *error);

    QJsonObject m_manifest;
    QMap<QString, QByteArray> m_files;
};
