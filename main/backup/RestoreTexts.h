#pragma once

#include <QString>

/// Why a chosen backup is not restored.
namespace RestoreTexts {

inline const QString hasTrigger = QStringLiteral("اين پشتيبان دستورهاي خودکار (trigger) دارد که Pelorin نمي سازد: %1");
inline const QString hasView = QStringLiteral("اين پشتيبان نما (view) دارد که Pelorin نمي سازد: %1");
inline const QString otherTable = QStringLiteral("جدول %1 در اين پشتيبان با جدول Pelorin يکي نيست");
inline const QString duplicateCode = QStringLiteral("کد %1 در اين پشتيبان براي بيش از يک آزمودني آمده است");
inline const QString unreadable = QStringLiteral("ساختار اين پشتيبان خوانده نشد");

} // namespace RestoreTexts
