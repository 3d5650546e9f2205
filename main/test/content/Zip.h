#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

/// A small zip archive reader and writer: stored or deflated members, no
/// encryption, no zip64. Enough for content packs, which are a few megabytes.
namespace Zip {

struct Member
{
    QString name; ///< path inside the archive, '/' separated
    QByteArray data; ///< uncompressed bytes
};

/// The archive bytes for \a members, deflated where that is smaller.
QByteArray write(const QVector<Member> &members);

/// Reads every member of \a archive through its central directory, checking
/// each member's size and CRC. Names that climb out of the archive ("..",
/// absolute paths) are refused. False with *error naming the member.
bool read(const QByteArray &archive, QVector<Member> *members, QString *error);

} // namespace Zip
