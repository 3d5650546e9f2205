#include "test/content/Zip.h"

#include <QSet>
#include <QtEndian>

#include <zlib.h>

namespace {

constexpr quint32 LocalSignature = 0x04034b50;
constexpr quint32 CentralSignature = 0x02014b50;
constexpr quint32 EndSignature = 0x06054b50;
constexpr quint16 Stored = 0;
constexpr quint16 Deflated = 8;
constexpr quint16 Utf8Flag = 0x0800;
constexpr qsizetype MaxMember = 256 * 1024 * 1024;

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

quint16 get16(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<quint16>(in.constData() + at);
}
quint32 get32(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<quint32>(in.constData() + at);
}

quint32 crcOf(const QByteArray &data)
{
    return quint32(crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
}

QByteArray deflateRaw(const QByteArray &in)
{
    z_stream s {};
    if (deflateInit2(&s, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray out(qsizetype(deflateBound(&s, uLong(in.size()))), Qt::Uninitialized);
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
    s.avail_in = uInt(in.size());
    s.next_out = reinterpret_cast<Bytef *>(out.data());
    s.avail_out = uInt(out.size());
    const int r = deflate(&s, Z_FINISH);
    out.resize(qsizetype(s.total_out));
    deflateEnd(&s);
    return r == Z_STREAM_END ? out : QByteArray();
}

bool inflateRaw(const QByteArray &in, qsizetype size, QByteArray *out)
{
    z_stream s {};
    if (inflateInit2(&s, -MAX_WBITS) != Z_OK)
        return false;
    out->resize(size);
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
    s.avail_in = uInt(in.size());
    s.next_out = reinterpret_cast<Bytef *>(out->data());
    s.avail_out = uInt(size);
    const int r = inflate(&s, Z_FINISH);
    const bool whole = r == Z_STREAM_END && qsizetype(s.total_out) == size;
    inflateEnd(&s);
    return whole;
}

bool safeName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QLatin1Char(':')))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString &p : parts) {
        if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String(".."))
            return false;
    }
    return true;
}

} // namespace

namespace Zip {

QByteArray write(const QVector<Member> &members)
{
    QByteArray out;
    QByteArray central;
    for (const Member &m : members) {
        const QByteArray name = m.name.toUtf8();
        const quint32 crc = crcOf(m.data);
        QByteArray packed = deflateRaw(m.data);
        quint16 method = Deflated;
        if (packed.isEmpty() || packed.size() >= m.data.size()) {
            packed = m.data;
            method = Stored;
        }
        const quint32 offset = quint32(out.size());
        // Fixed time stamp (1 Jan 1980): the same members give the same bytes.
        auto header = [&](QByteArray &to, bool centralEntry) {
            put32(to, centralEntry ? CentralSignature : LocalSignature);
            if (centralEntry)
                put16(to, 20);
            put16(to, 20);
            put16(to, Utf8Flag);
            put16(to, method);
            put16(to, 0);
            put16(to, 0x21);
            put32(to, crc);
            put32(to, quint32(packed.size()));
            put32(to, quint32(m.data.size()));
            put16(to, quint16(name.size()));
            put16(to, 0);
            if (centralEntry) {
                put16(to, 0);
                put16(to, 0);
                put16(to, 0);
                put32(to, 0);
                put32(to, offset);
            }
            to.append(name);
        };
        header(out, false);
        out.append(packed);
        header(central, true);
    }
    const quint32 centralOffset = quint32(out.size());
    out.append(central);
    put32(out, EndSignature);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(members.size()));
    put16(out, quint16(members.size()));
    put32(out, quint32(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

bool read(const QByteArray &archive, QVector<Member> *members, QString *error)
{
    auto fail = [&](const QString &what) {
        if (error)
            *error = what;
        return false;
    };
    // The end record is within the last 64 KiB + 22 bytes (its comment).
    qsizetype end = -1;
    for (qsizetype at = archive.size() - 22; at >= 0 && at >= archive.size() - 22 - 65535; --at) {
        if (get32(archive, at) == EndSignature) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return fail(QStringLiteral("not a zip archive (no central directory)"));
    const int count = get16(archive, end + 10);
    qsizetype at = get32(archive, end + 16);
    members->clear();
    QSet<QString> seen;
    for (int i = 0; i < count; ++i) {
        if (at + 46 > archive.size() || get32(archive, at) != CentralSignature)
            return fail(QStringLiteral("central directory entry %1 is damaged").arg(i + 1));
        const quint16 flags = get16(archive, at + 8);
        const quint16 method = get16(archive, at + 10);
        const quint32 crc = get32(archive, at + 16);
        const qsizetype packedSize = get32(archive, at + 20);
        const qsizetype size = get32(archive, at + 24);
        const int nameLength = get16(archive, at + 28);
        const int extraLength = get16(archive, at + 30);
        const int commentLength = get16(archive, at + 32);
        const qsizetype local = get32(archive, at + 42);
        if (at + 46 + nameLength > archive.size())
            return fail(QStringLiteral("central directory entry %1 is damaged").arg(i + 1));
        const QString name = QString::fromUtf8(archive.mid(at + 46, nameLength));
        at += 46 + nameLength + extraLength + commentLength;
        if (name.endsWith(QLatin1Char('/')))
            continue; // a folder entry carries nothing
        if (!safeName(name))
            return fail(QStringLiteral("%1: a name outside the archive is not allowed").arg(name));
        if (seen.contains(name))
            return fail(QStringLiteral("%1: appears twice").arg(name));
        seen.insert(name);
        if (flags & 0x1)
            return fail(QStringLiteral("%1: encrypted members are not supported").arg(name));
        if (size > MaxMember)
            return fail(QStringLiteral("%1: too large").arg(name));
        if (local + 30 > archive.size() || get32(archive, local) != LocalSignature)
            return fail(QStringLiteral("%1: local header is damaged").arg(name));
        const qsizetype dataAt = local + 30 + get16(archive, local + 26) + get16(archive, local + 28);
        if (dataAt + packedSize > archive.size())
            return fail(QStringLiteral("%1: cut short").arg(name));
        const QByteArray packed = archive.mid(dataAt, packedSize);
        QByteArray data;
        if (method == Stored)
            data = packed;
        else if (method != Deflated || !inflateRaw(packed, size, &data))
            return fail(QStringLiteral("%1: cannot be unpacked").arg(name));
        if (data.size() != size || crcOf(data) != crc)
            return fail(QStringLiteral("%1: CRC mismatch (the archive is damaged)").arg(name));
        members->append({ name, data });
    }
    return true;
}

} // namespace Zip
