#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QHash>

namespace Fonts {

QString resolve(const QString &family)
{
    static QHash<QString, QString> cache;
    const auto hit = cache.constFind(family);
    if (hit != cache.constEnd())
        return *hit;
    static const QHash<QString, QStringList> substitutes = {
        { QStringLiteral("B Nazanin"), { QStringLiteral("Nazli"), QStringLiteral("DejaVu Sans") } },
        { QStringLiteral("B Titr"),
            { QStringLiteral("Titr"), QStringLiteral("Nazli"), QStringLiteral("DejaVu Sans") } },
        { QStringLiteral("Arial"), { QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") } },
        { QStringLiteral("Calibri"),
            { QStringLiteral("Carlito"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") } },
    };
    const QStringList installed = QFontDatabase::families();
    QString chosen = family;
    if (!installed.contains(family, Qt::CaseInsensitive)) {
        for (const QString &s : substitutes.value(family)) {
            if (installed.contains(s, Qt::CaseInsensitive)) {
                chosen = s;
                break;
            }
        }
    }
    cache.insert(family, chosen);
    return chosen;
}

QFont font(const QString &family, qreal pointSize, bool bold)
{
    QFont f(resolve(family));
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

} // namespace Fonts
