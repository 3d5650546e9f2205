#pragma once

#include <QString>

/// The texts of the exit window.
namespace ExitWindowTexts {

inline const QString title = QStringLiteral("تهيه نسخه پشتيبان");
inline const QString titleLeadingBlank = QStringLiteral(" تهيه نسخه پشتيبان");
inline const QString titleBackingUp = QStringLiteral("پشتيبان گيري");
inline const QString question = QStringLiteral("آيا براي خروج از برنامه اطمينان داريد");
inline const QString option = QStringLiteral("تهيه نسخه پشتيبان");
// Shown on plain faces until the button art is installed.
inline const QString accept = QStringLiteral("تاييد");
inline const QString cancel = QStringLiteral("انصراف");

} // namespace ExitWindowTexts
