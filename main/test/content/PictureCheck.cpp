#include "test/content/PictureCheck.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

namespace {

QString suffixOf(const QString &name)
{
    return QFileInfo(name).suffix().toLower();
}

// PNG chunks run to IEND with matching lengths; a JPEG ends with its
// end-of-image marker.
bool structurallyWhole(const QByteArray &data, const QString &suffix)
{
    if (suffix == QLatin1String("png")) {
        if (!data.startsWith("\x89PNG\r\n\x1a\n"))
            return false;
        qsizetype at = 8;
        while (at + 12 <= data.size()) {
            const quint32 length = qFromBigEndian<quint32>(data.constData() + at);
            const QByteArray type = data.mid(at + 4, 4);
            at += 12 + qsizetype(length);
            if (at > data.size())
                return false;
            if (type == "IEND")
                return true;
        }
        return false;
    }
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return data.startsWith("\xff\xd8") && data.endsWith("\xff\xd9");
    return true;
}

} // namespace

namespace PictureCheck {

Outcome check(const QByteArray &data, const QString &name, QSize *size, QString *why)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    const QSize header = reader.size();
    const QImage image = reader.read();
    if (size)
        *size = image.isNull() ? header : image.size();
    if (image.isNull() && !header.isValid()) {
        if (why)
            *why = reader.errorString();
        return Outcome::Unreadable;
    }
    return image.isNull() || !structurallyWhole(data, suffixOf(name)) ? Outcome::Cut : Outcome::Whole;
}

} // namespace PictureCheck
