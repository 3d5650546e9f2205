#pragma once

#include <QString>

/// The message of a failed backup copy.
namespace CopyBackupFileTexts {

inline const QString copyFailed = QStringLiteral("اشکال در ايجاد نسخه پشتيباني");

} // namespace CopyBackupFileTexts
