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

inline QString nazanin() { return resolve(QStringLiteral("B Nazanin")); }
inline QString titr() { return resolve(QStringLiteral("B Titr")); }

} // namespace Fonts
