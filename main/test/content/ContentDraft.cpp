#include "test/content/ContentDraft.h"

#include "test/content/NormsTable.h"
#include "test/content/PackCheck.h"
#include "test/content/TestContent.h"

#include <QBuffer>
#include <QJsonArray>
#include <QPainter>

namespace {

const QString NormsFile = QStringLiteral("norms.csv");

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// \a source fitted into \a size on white, in proportion.
QImage fitted(const QImage &source, const QSize &size)
{
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    const QImage scaled = source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter p(&out);
    p.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
    return out;
}

} // namespace

bool ContentDraft::load(const QString &contentDir, QString *error)
{
    return m_pack.loadFolder(contentDir, error);
}

QJsonObject ContentDraft::item(int number) const
{
    const QJsonArray items = m_pack.manifest().value(QStringLiteral("items")).toArray();
    for (const QJsonValue &v : items) {
        if (v.toObject().value(QStringLiteral("number")).toInt() == number)
            return v.toObject();
    }
    QJsonObject fresh;
    fresh.insert(QStringLiteral("number"), number);
    return fresh;
}

void ContentDraft::setItem(int number, const QJsonObject &value)
{
    QJsonObject m = m_pack.manifest();
    QJsonArray items = m.value(QStringLiteral("items")).toArray();
    bool replaced = false;
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).toObject().value(QStringLiteral("number")).toInt() == number) {
            items.replace(i, value);
            replaced = true;
        }
    }
    if (!replaced)
        items.append(value);
    m.insert(QStringLiteral("items"), items);
    m_pack.setManifest(m);
}

std::array<QRect, 6> ContentDraft::options(int number) const
{
    std::array<QRect, 6> out;
    const QJsonArray list = item(number).value(QStringLiteral("options")).toArray();
    for (int k = 0; k < 6 && k < list.size(); ++k) {
        const QJsonArray r = list.at(k).toArray();
        out[size_t(k)] = QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt());
    }
    return out;
}

void ContentDraft::setOptions(int number, const std::array<QRect, 6> &options)
{
    QJsonArray list;
    for (const QRect &r : options)
        list.append(QJsonArray { r.x(), r.y(), r.width(), r.height() });
    QJsonObject o = item(number);
    o.insert(QStringLiteral("options"), list);
    setItem(number, o);
}

int ContentDraft::key(int number) const
{
    return item(number).value(QStringLiteral("key")).toInt();
}

void ContentDraft::setKey(int number, int option)
{
    QJsonObject o = item(number);
    o.insert(QStringLiteral("key"), option);
    setItem(number, o);
}

QImage ContentDraft::picture(int number) const
{
    return QImage::fromData(m_pack.file(item(number).value(QStringLiteral("picture")).toString()));
}

bool ContentDraft::hasSharpCopy(int number) const
{
    return item(number).contains(QStringLiteral("picture2x"));
}

void ContentDraft::setPicture(int number, const QImage &source)
{
    const QSize box(TestContent::PictureWidth, TestContent::PictureHeight);
    QJsonObject o = item(number);
    const QString stem = QStringLiteral("items/item%1").arg(number, 2, 10, QLatin1Char('0'));
    const QString name = stem + QStringLiteral(".png");
    const QString old2x = o.value(QStringLiteral("picture2x")).toString();
    if (!old2x.isEmpty())
        m_pack.removeFile(old2x);
    m_pack.setFile(name, png(fitted(source, box)));
    o.insert(QStringLiteral("picture"), name);
    // A 2x copy only from a source that fills it without enlarging.
    const QSize sharp = box * 2;
    const QSize fit = source.size().scaled(sharp, Qt::KeepAspectRatio);
    if (source.width() >= fit.width() && source.height() >= fit.height()) {
        const QString name2x = stem + QStringLiteral("@2x.png");
        m_pack.setFile(name2x, png(fitted(source, sharp)));
        o.insert(QStringLiteral("picture2x"), name2x);
    } else {
        o.remove(QStringLiteral("picture2x"));
    }
    setItem(number, o);
}

QVector<QStringList> ContentDraft::norms() const
{
    const QString name = m_pack.manifest().value(QStringLiteral("norms")).toString();
    const QVector<QStringList> table = PackCheck::parseTable(QString::fromUtf8(m_pack.file(name)));
    return table.isEmpty() ? NormsTable::blank() : table;
}

void ContentDraft::setNorms(const QVector<QStringList> &table)
{
    QString name = m_pack.manifest().value(QStringLiteral("norms")).toString();
    if (name.isEmpty()) {
        name = NormsFile;
        QJsonObject m = m_pack.manifest();
        m.insert(QStringLiteral("norms"), name);
        m_pack.setManifest(m);
    }
    m_pack.setFile(name, NormsTable::toCsv(table).toUtf8());
}
