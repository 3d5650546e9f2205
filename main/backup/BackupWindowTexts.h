#pragma once

#include <QString>

/// The texts of the backup window.
namespace BackupWindowTexts {

inline const QString title = QStringLiteral("Back up ...  Reastor");
inline const QString choose = QStringLiteral("---");
inline const QString backup = QStringLiteral("BACKUP");
inline const QString restore = QStringLiteral("REASTOR");
inline const QString exit = QStringLiteral("خروج");
inline const QString error = QStringLiteral("خطا");
inline const QString backupPathEmpty = QStringLiteral("لطفا مسير تهيه نسخه پشتيبان را وارد کنيد");
inline const QString replaceQuestion
    = QStringLiteral("فايل پشتيباني با اين نام قبلا ايجاد شده آيا ميخواهيد اين فايل را جايگزين کنيد؟");
inline const QString backupDone = QStringLiteral("نسخه پشتيبان تهيه گرديد");
inline const QString backupNotDone = QStringLiteral("عدم موفقيت در تهيه نسخه پشتيبان");
inline const QString restorePathEmpty = QStringLiteral("لطفا مسير فايل مربوطه را وارد کنيد");
inline const QString restoreQuestion = QStringLiteral("آيا ميخواهيد اطلاعات را بازيابي کنيد؟");
inline const QString restoreDone = QStringLiteral("بازيابي اطلاعات انجام شد");
inline const QString restoreNotDone = QStringLiteral("عدم موفقيت در بازيابي اطلاعات ");
// Description "Database Backup " and pattern "*.mdbB", in the file dialog's own syntax.
inline const QString filter = QStringLiteral("Database Backup (*.mdbB)");
// A restore refused by the check; the check's finding follows on the next line.
inline const QString notABackup
    = QStringLiteral("فايل انتخاب شده نسخه پشتيبان اطلاعات اين برنامه نيست و بازيابي انجام نشد");
// What a screen reader says for the path boxes and the "---" buttons.
inline const QString backupPathName = QStringLiteral("مسير فايل پشتيبان");
inline const QString restorePathName = QStringLiteral("مسير فايل بازيابي");
inline const QString chooseBackupName = QStringLiteral("انتخاب فايل پشتيبان");
inline const QString chooseRestoreName = QStringLiteral("انتخاب فايل بازيابي");

} // namespace BackupWindowTexts
