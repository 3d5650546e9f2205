#include "test/window/ItemPictures.h"

#include "test/content/TestItem.h"

#include <QFileInfo>
#include <QHash>

namespace ItemPictures {

namespace {

struct Choice
{
    QString path;
    qreal ratio = 1;
};

Choice choose(const TestItem &item, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1 && !item.picture2xPath.isEmpty() && QFileInfo::exists(item.picture2xPath))
        return { item.picture2xPath, 2 };
    return { item.picturePath, 1 };
}

QHash<QString, QPixmap> &cache()
{
    static QHash<QString, QPixmap> pictures;
    return pictures;
}

} // namespace

QPixmap picture(const TestItem &item, qreal devicePixelRatio)
{
    const Choice c = choose(item, devicePixelRatio);
    auto hit = cache().constFind(c.path);
    if (hit != cache().constEnd())
        return *hit;
    QPixmap pixmap(c.path, "PNG");
    if (pixmap.isNull())
        pixmap = QPixmap(c.path);
    pixmap.setDevicePixelRatio(c.ratio);
    cache().insert(c.path, pixmap);
    return pixmap;
}

bool isDecoded(const TestItem &item, qreal devicePixelRatio)
{
    return cache().contains(choose(item, devicePixelRatio).path);
}

} // namespace ItemPictures
