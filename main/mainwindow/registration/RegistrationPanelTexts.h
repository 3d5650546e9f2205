#pragma once

#include <QString>
#include <QStringList>

/// The captions of the registration panel.
namespace RegistrationPanelTexts {

inline const QString code = QStringLiteral("کد آزمودني");
inline const QString firstName = QStringLiteral("نام");
inline const QString lastName = QStringLiteral("نام خانوادگي");
inline const QString sex = QStringLiteral("جنس");
inline const QString age = QStringLiteral("سن");
inline const QString education = QStringLiteral("تحصيلات");
inline const QString group = QStringLiteral("گروه");
inline const QString birthDate = QStringLiteral("تاريخ تولد");
inline const QString examiner = QStringLiteral("آزمونگر");
inline const QString testDate = QStringLiteral("تاريخ اجرا");
inline const QString save = QStringLiteral("ذخيره");
inline const QString cancel = QStringLiteral("انصراف");
inline const QStringList sexes = { QStringLiteral("پسر"), QStringLiteral("دختر") };
inline const QStringList ages = { QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
    QStringLiteral("9"), QStringLiteral("10") };
inline const QStringList groups
    = { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E") };

} // namespace RegistrationPanelTexts
