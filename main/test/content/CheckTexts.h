#pragma once

#include <QString>

/// The faults the content checks report, shown to the clinic as they stand.
/// A place comes first ("<file>: سوال 7: گزينه 2: ..."); the manifest's
/// own field names (picture2x, answerForm ...) stay as the file spells them.
namespace CheckTexts {

inline const QString item = QStringLiteral("سوال %1");
inline const QString itemEntry = QStringLiteral("سوال رديف %1");
inline const QString option = QStringLiteral("گزينه %1");

inline const QString wholeNumber = QStringLiteral("بايد عدد صحيح باشد");
inline const QString rectangle = QStringLiteral("بايد [چپ، بالا، پهنا، بلندي] باشد");
inline const QString rectangleValues = QStringLiteral("مکان بايد صفر يا بيشتر و اندازه بيشتر از صفر باشد");
inline const QString pictureMissing = QStringLiteral("تصوير %1 پيدا نشد");
inline const QString pictureUnreadable = QStringLiteral("تصوير %1 خوانده نمي شود (%2)");
inline const QString pictureCut = QStringLiteral("تصوير %1 کامل خوانده نمي شود (ناقص يا آسيب ديده است)");
inline const QString pictureSize = QStringLiteral("تصوير %1 %2 x %3 پيکسل است، بايد %4 x %5 باشد");
inline const QString sixOptions = QStringLiteral("بايد 6 گزينه داشته باشد");
inline const QString topRange = QStringLiteral("بالاي %1 خارج از %2 تا %3");
inline const QString widthRange = QStringLiteral("پهناي %1 خارج از %2 تا %3");
inline const QString heightRange = QStringLiteral("بلندي %1 خارج از %2 تا %3");
inline const QString rightEdge = QStringLiteral("لبه راست %1 از %2 فراتر است");
inline const QString bottomEdge = QStringLiteral("لبه پايين %1 از %2 فراتر است");
inline const QString order = QStringLiteral("بايد در سمت راست گزينه %1 باشد");
inline const QString overlaps = QStringLiteral("با گزينه %1 همپوشاني دارد");
inline const QString notObject = QStringLiteral("بايد يک شيء JSON باشد");
inline const QString numberRange = QStringLiteral("شماره %1 خارج از 1 تا 36");
inline const QString numberTwice = QStringLiteral("شماره سوال %1 دو بار آمده است");
inline const QString keyRange = QStringLiteral("کليد %1 خارج از 1 تا 6");
inline const QString noPicture = QStringLiteral("picture نام تصوير را ندارد");
inline const QString noPicture2x = QStringLiteral("picture2x بايد نام يک فايل باشد");
inline const QString cannotOpen = QStringLiteral("باز نمي شود (%1)");
inline const QString badJson = QStringLiteral("در جاي %1 JSON معتبر نيست (%2)");
inline const QString versionUnsupported = QStringLiteral("%1 پشتيباني نمي شود (بايد 1 باشد)");
inline const QString itemCount = QStringLiteral("بايد 36 سوال داشته باشد، %1 سوال دارد");
inline const QString missing = QStringLiteral("نيامده است");
inline const QString boxCount = QStringLiteral("بايد 36 مستطيل داشته باشد");
inline const QString reliabilityMap = QStringLiteral("بايد براي هر سن يک عدد بدهد");
inline const QString reliabilityAge = QStringLiteral("سن به سال کامل نيست");
inline const QString reliabilityValue = QStringLiteral("بايد عددي بين 0 و 1 باشد");

inline const QString fieldMissing = QStringLiteral("manifest.json: %1 نيامده است");
inline const QString outsidePack = QStringLiteral("manifest.json: %1 بيرون از بسته است");
inline const QString fileMissing = QStringLiteral("%1: فايل در بسته نيست");
inline const QString cannotUnpack = QStringLiteral("براي بررسي باز نمي شود: %1");

inline const QString normsHeader = QStringLiteral("نرم ها: سطر عنوان بايد %1 باشد");
inline const QString normsRawNotNumber = QStringLiteral("نرم ها: سطر %1: نمره خام «%2» عدد نيست");
inline const QString normsRawTwice = QStringLiteral("نرم ها: نمره خام %1 دو بار آمده است");
inline const QString normsRowSize = QStringLiteral("نرم ها: نمره خام %1: %2 مقدار دارد، بايد %3 باشد");
inline const QString normsCell = QStringLiteral("نرم ها: نمره خام %1، ستون %2");
inline const QString normsNotNumber = QStringLiteral("%1: «%2» عدد نيست");
inline const QString normsRange = QStringLiteral("%1: %2 خارج از %3 تا %4");
inline const QString normsRawMissing = QStringLiteral("نرم ها: نمره خام %1 نيامده است");
inline const QString normsFalls = QStringLiteral("%1: %2 از %3 در نمره خام %4 کمتر است");
inline const QString normsRisesWithAge = QStringLiteral("%1: هوشبهر %2 از %3 در سن %4 بيشتر است");
inline const QString normsPercentile = QStringLiteral("%1: رتبه درصدي %2 با هوشبهر %3 نمي خواند (زير منحني بهنجار %4)");

} // namespace CheckTexts
