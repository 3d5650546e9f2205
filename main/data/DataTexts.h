#pragma once

#include <QString>

/// What the database layer reports, in the words the user reads. Each text
/// follows the file's name ("DBres.mdb: ...").
namespace DataTexts {

inline const QString notFound = QStringLiteral("پرونده پيدا نشد (%1)");
inline const QString notADatabase = QStringLiteral("اين پرونده پايگاه داده نيست");
inline const QString notExaminees = QStringLiteral("اين پرونده پايگاه داده آزمودني هاي Pelorin نيست");
inline const QString notClinic = QStringLiteral("اين پرونده پايگاه داده مشخصات کلينيک Pelorin نيست");
inline const QString newer = QStringLiteral(
    "اين پايگاه داده را نسخه جديدتري از Pelorin ساخته است (نسخه %1؛ اين برنامه تا نسخه %2 را مي خواند)");
inline const QString damaged = QStringLiteral("پايگاه داده آسيب ديده است يا خوانده نمي شود");
inline const QString damagedDetail = QStringLiteral("پايگاه داده آسيب ديده است (%1)");
inline const QString locked
    = QStringLiteral("پايگاه داده در دست برنامه ديگري است. آن برنامه را ببنديد و دوباره امتحان کنيد");
inline const QString readOnlyFile = QStringLiteral(
    "پرونده فقط خواندني است و نتيجه ها در آن ذخيره نمي شوند. اجازه نوشتن را به آن بدهيد و دوباره امتحان کنيد");
inline const QString readOnlyFolder = QStringLiteral(
    "پوشه پايگاه داده فقط خواندني است و نتيجه ها ذخيره نمي شوند (%1). اجازه نوشتن را بدهيد و دوباره امتحان کنيد");
inline const QString noTable = QStringLiteral("جدول %1 در پايگاه داده نيست");
inline const QString noField = QStringLiteral("فيلد %1.%2 در پايگاه داده نيست");
inline const QString diskFull = QStringLiteral("ديسک پر است؛ جاي خالي درست کنيد و دوباره امتحان کنيد");
inline const QString fileReadOnly = QStringLiteral("اجازه نوشتن در %1 نيست (پرونده يا پوشه فقط خواندني است)");
inline const QString ioError = QStringLiteral("خواندن يا نوشتن روي ديسک انجام نشد");
inline const QString storeFailed = QStringLiteral("ذخيره انجام نشد");
inline const QString readFailed = QStringLiteral("خواندن از پايگاه داده انجام نشد");
inline const QString notOpen = QStringLiteral("پايگاه داده باز نيست");
inline const QString alreadyOpen = QStringLiteral("پايگاه داده پيش از اين باز شده است");
inline const QString upgradeFailed = QStringLiteral("به روز کردن ساختار پايگاه داده از نسخه %1 انجام نشد: %2");
inline const QString noUpgradeStep = QStringLiteral("راهي براي به روز کردن ساختار پايگاه داده از نسخه %1 نيست");
inline const QString safetyCopyFailed = QStringLiteral("نسخه پشتيبان پيش از تغيير در %1 ساخته نشد: %2");
inline const QString folderNotMade = QStringLiteral("پوشه %1 ساخته نشد");

} // namespace DataTexts
