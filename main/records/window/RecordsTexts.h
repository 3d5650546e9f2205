#pragma once

#include <QString>
#include <QStringList>

// What the records window shows, letter for letter.
namespace RecordsTexts {

inline const QString title = QStringLiteral("کد آزمودني");
inline const QString gridCaption = QStringLiteral("مشخصات آزمودني");
inline const QString colCode = QStringLiteral("كدآزمودني");
inline const QString colFName = QStringLiteral("نام");
inline const QString colLName = QStringLiteral("نام خانوادگي");
inline const QString colTahsil = QStringLiteral("تحصيلات");
inline const QString colSen = QStringLiteral("سن");
inline const QString colGroup = QStringLiteral("گروه");
inline const QString colRaw = QStringLiteral("نمره خام");
inline const QString colPercentile = QStringLiteral("رتبه درصدي");
inline const QString colIq = QStringLiteral("هوشبهر");
inline const QString searchLName = QStringLiteral(" :نام خانوادگي");
inline const QString searchFName = QStringLiteral(" :نام ");
inline const QString searchGroup = QStringLiteral(" :گروه");
inline const QString groupInitial = QStringLiteral("جنسيت را انتخاب كنيد");
inline const QString editCaption = QStringLiteral("ويرايش مشخصات");
inline const QString editFName = QStringLiteral("نام");
inline const QString editLName = QStringLiteral("نام خانوادگي");
inline const QString editSen = QStringLiteral("سن");
inline const QString editGroup = QStringLiteral("گروه");
inline const QString editTahsil = QStringLiteral("تحصيلات");
inline const QString editExaminer = QStringLiteral("آزمونگر");
inline const QString editBirthDate = QStringLiteral("تاريخ تولد");
inline const QString editTestDate = QStringLiteral("تاريخ اجرا");
inline const QString choiceInitial = QStringLiteral("وضعيت تأهل خود را مشخص کنيد");
inline const QString save = QStringLiteral("ذخيره");
inline const QString cancel = QStringLiteral("انصراف");
inline const QString deleteCaption = QStringLiteral("حذف کردن آزمودني");
inline const QString deletePrompt = QStringLiteral("کد آزمودني را وارد کنيد");
inline const QString deleteButton = QStringLiteral("حذف ");
inline const QString edit = QStringLiteral("ويرايش مشخصات");
inline const QString review = QStringLiteral("باز بيني");
inline const QString print = QStringLiteral("پرينت");
inline const QString deleteExaminee = QStringLiteral("حذف آزمودني");
inline const QString exit = QStringLiteral("خروج");
inline const QString enterNumber = QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
inline const QString noSuchCode = QStringLiteral("فردي با اين کد وجود ندارد");
/// The question names the examinee, so the wrong child is not removed by a slip.
inline QString confirmDelete(const QString &code, const QString &fullName)
{
    return QStringLiteral("آيا براي حذف کردن آزمودني با کد %1 (%2) مطمئن هستيد؟").arg(code, fullName);
}
/// Asked before leaving a row whose edit is not stored yet.
inline QString pendingEdit(const QString &code, const QString &fullName)
{
    return QStringLiteral("تغييرات مشخصات آزمودني با کد %1 (%2) ذخيره نشده است. آيا ذخيره شود؟").arg(code, fullName);
}
inline const QString deleted = QStringLiteral("حذف با موفقيت انجام گرفت");
inline const QString errorTitle = QStringLiteral("Error");
inline const QString exportList = QStringLiteral("خروجي");
inline const QString chart = QStringLiteral("نمودار");
inline const QString exportDone = QStringLiteral("خروجي با موفقيت ذخيره شد");
inline const QString exportFailed = QStringLiteral("خروجي ذخيره نشد");
inline const QString exportReplace = QStringLiteral("اين فايل وجود دارد. آيا جايگزين شود؟");

inline const QStringList searchGroups = { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
    QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G") };
inline const QStringList editGroups
    = { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E") };
inline const QStringList ages = { QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
    QStringLiteral("9"), QStringLiteral("10") };

} // namespace RecordsTexts
