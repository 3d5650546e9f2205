#pragma once

#include <QString>

/// Texts that several windows show.
namespace CommonTexts {

inline const QString errorTitle = QStringLiteral("خطا");
inline const QString noticeTitle = QStringLiteral("پيام");

} // namespace CommonTexts
