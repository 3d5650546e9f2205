#pragma once

#include <QString>

/// The texts of the content window (the clinic's test materials).
namespace ContentWindowTexts {

inline const QString title = QStringLiteral("مواد آزمون");
inline const QString inUsePack = QStringLiteral("مواد در حال استفاده: %1، نسخه %2، اثر انگشت %3");
inline const QString inUseBundled
    = QStringLiteral("مواد در حال استفاده: مجموعه نمايشي همراه برنامه (بدون اعتبار باليني)");
inline const QString itemsTab = QStringLiteral("سوال ها");
inline const QString normsTab = QStringLiteral("نرم ها");
inline const QString item = QStringLiteral("سوال:");
inline const QString pickPicture = QStringLiteral("انتخاب تصوير");
inline const QString chooseKey = QStringLiteral("تعيين کليد");
inline const QString key = QStringLiteral("کليد: گزينه %1");
inline const QString sharpCopy = QStringLiteral("نسخه دو برابر: دارد");
inline const QString noSharpCopy = QStringLiteral("نسخه دو برابر: ندارد");
inline const QString optionPlace = QStringLiteral("گزينه %1: چپ %2، بالا %3، پهنا %4، بلندي %5 پيکسل");
inline const QString itemHelp = QStringLiteral(
    "گزينه را بکشيد يا از گوشه پايين آن اندازه اش را عوض کنيد؛ در جاي خالي، گزينه انتخاب شده از نو کشيده مي شود. "
    "پيکان ها گزينه را يک پيکسل جابجا مي کنند و Shift با پيکان اندازه را. دو بار کليک يا «تعيين کليد» کليد را مي "
    "گذارد.");
inline const QString iqColumn = QStringLiteral("هوشبهر %1 سال");
inline const QString percentileColumn = QStringLiteral("درصدي %1 سال");
inline const QString paste = QStringLiteral("چسباندن از صفحه گسترده");
inline const QString importCsv = QStringLiteral("وارد کردن CSV");
inline const QString savePack = QStringLiteral("ذخيره به صورت بسته");
inline const QString installPack = QStringLiteral("نصب بسته");
inline const QString bundled = QStringLiteral("بازگشت به مجموعه همراه برنامه");
inline const QString close = QStringLiteral("بستن");
inline const QString noFaults = QStringLiteral("ايرادي پيدا نشد.");
inline const QString errorMark = QStringLiteral("خطا: %1");
inline const QString warningMark = QStringLiteral("هشدار: %1");

inline const QString pictureFilter = QStringLiteral("تصوير (*.png *.jpg *.jpeg)");
inline const QString csvFilter = QStringLiteral("CSV (*.csv *.txt)");
inline const QString packFilter = QStringLiteral("بسته مواد آزمون (*.pelorin-content)");
inline const QString pictureUnreadable = QStringLiteral("تصوير خوانده نشد:\n%1");
inline const QString fileUnreadable = QStringLiteral("فايل خوانده نشد:\n%1");
inline const QString packName = QStringLiteral("نام بسته:");
inline const QString packVersion = QStringLiteral("نسخه بسته:");
inline const QString packErrors = QStringLiteral("بسته ايراد دارد و ذخيره يا نصب نمي شود:\n\n%1");
inline const QString packWarnings = QStringLiteral("%1\n\nبا وجود اين هشدارها ادامه مي دهيد؟");
inline const QString saved = QStringLiteral("بسته ذخيره شد:\n%1\nاثر انگشت %2");
inline const QString installed
    = QStringLiteral("بسته %1 نصب شد و از اين پس به کار مي رود.\nنسخه قبلي اطلاعات در اين فايل نگهداري شد:\n%2");
inline const QString askBundled
    = QStringLiteral("مجموعه نمايشي همراه برنامه و نرم هاي آن دوباره به کار رود؟\nنتايج ذخيره شده تغيير نمي کنند.");
inline const QString bundledBack
    = QStringLiteral("مجموعه همراه برنامه به کار مي رود.\nنسخه قبلي اطلاعات در اين فايل نگهداري شد:\n%1");
inline const QString failed = QStringLiteral("انجام نشد:\n%1");

} // namespace ContentWindowTexts
