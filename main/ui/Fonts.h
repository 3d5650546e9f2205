#pragma once

#include <QFont>
#include <QString>

/// The fonts the windows and printouts name, with substitutes from Debian's
/// packages where the named family is not installed: "B Nazanin" -> Nazli,
/// "B Titr" -> Titr (fonts-farsiweb), "Arial" -> Liberation Sans,
/// "Calibri" -> Carlito.
namespace Fonts {

QString resolve(const QString &family);
QFont font(const QString &family, qreal pointSize, bool bold = false);

/// One call per family the windows use.
inline QFont nazanin(qreal pointSize, bool bold = false)
{
    return font(QStringLiteral("B Nazanin"), pointSize, bold);
}
inline QFont titr(qreal pointSize, bool bold = false)
{
    return font(QStringLiteral("B Titr"), pointSize, bold);
}
inline QFont arial(qreal pointSize, bool bold = false)
{
    return font(QStringLiteral("Arial"), pointSize, bold);
}
inline QFont calibri(qreal pointSize, bool bold = false)
{
    return font(QStringLiteral("Calibri"), pointSize, bold);
}

} // namespace Fonts
