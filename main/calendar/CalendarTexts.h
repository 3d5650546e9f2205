#pragma once

#include <QString>

namespace CalendarTexts {

/// An exact age: whole years, then the months beyond them.
inline const QString exactAge = QStringLiteral("%1 سال و %2 ماه");

} // namespace CalendarTexts
