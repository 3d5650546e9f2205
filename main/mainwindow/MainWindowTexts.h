#pragma once

#include <QString>
#include <QStringList>

/// The texts of the main window Frm0.
namespace MainWindowTexts {

inline const QString start = QStringLiteral("شروع");
inline const QString startTip
    = QStringLiteral("کدي که در قسمت ثبت نام به آزمودني داده ايد را در اين قسمت  وارد کرده و آزمون را شروع کنيد");
inline const QString details = QStringLiteral("نمايش مشخصات آزمودني");
inline const QString detailsTip
    = QStringLiteral("در اين قسمت مي توانيد مشخصات آزمودني را مشاهده، ويرايش نموده و يا پرينت بگيريد");
inline const QString registration = QStringLiteral("ثبت نام آزمودني");
inline const QString registrationTip = QStringLiteral("هر آزمودني را ابتدا ثبت نام نماييد");
inline const QString settings = QStringLiteral("تنظيمات");
inline const QString settingsTip = QStringLiteral("نام و آدرس کلينيک خود را در اين قسمت وارد کنيد");
inline const QString update = QStringLiteral("به روز رساني");
inline const QString exit = QStringLiteral("خروج");
inline const QString help = QStringLiteral("Help");
inline const QString helpTip = QStringLiteral("براي مشاهده اين قسمت بايد به اينترنت کانکت شويد");

// Line 1 and the asterisks are the product's; the rest is the vendor's,
// each short enough to fit the credits box at the largest size.
inline const QStringList credits = {
    QStringLiteral("نرم افزار هوش پلورين کودکان"),
    QStringLiteral("برنامه نويسي: گروه پلورين"),
    QStringLiteral("****************************"),
    QStringLiteral("پيام رسان ها: 0912 000 0000"),
    QStringLiteral("info@pelorin-soft.example"),
    QStringLiteral("www.pelorin-soft.example"),
    QStringLiteral("shop.pelorin-soft.example"),
    QStringLiteral("سفارش با پيام در پيام رسان ها"),
    QStringLiteral("دانلود و خريد از فروشگاه و سايت"),
};

} // namespace MainWindowTexts
