#pragma once

#include <QString>

// What a record source says when a store cannot be done.
namespace RecordSourceTexts {

inline const QString rowDeletedElsewhere = QStringLiteral("اين ركورد توسط پنجره ديگري حذف شده است؛ تغييرات ذخيره نشد");
inline const QString noCurrentRow = QStringLiteral("ركوردي براي ذخيره انتخاب نشده است");

} // namespace RecordSourceTexts
