#pragma once

#include <QString>

/// Names the backup proposes.
namespace BackupTexts {

inline const QString program = QStringLiteral("Pelorin");
inline const QString onDate = QStringLiteral("در تاريخ");
inline const QString hour = QStringLiteral(" ساعت)");
inline const QString close = QStringLiteral(")");
inline const QString extension = QStringLiteral(".mdbB");

} // namespace BackupTexts
