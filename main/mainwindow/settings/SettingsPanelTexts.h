#pragma once

#include <QString>

/// The texts of the settings panel.
namespace SettingsPanelTexts {

inline const QString nameLabel = QStringLiteral(":نام كلينيك "); // Name
inline const QString addressLabel = QStringLiteral(" :آدرس"); // Adress
inline const QString mailLabel = QStringLiteral(":ايميل"); // T1
inline const QString telegramLabel = QStringLiteral(" :تلگرام"); // T2
inline const QString instagramLabel = QStringLiteral(":اينستاگرام"); // T3
inline const QString siteLabel = QStringLiteral(" :سايت"); // T4
inline const QString twitterLabel = QStringLiteral(":تويتر"); // T5
inline const QString phoneLabel = QStringLiteral(" :تلفن"); // T6
inline const QString logoButton = QStringLiteral("آرم كلينيك");
inline const QString contentButton = QStringLiteral("مواد آزمون");
inline const QString saveButton = QStringLiteral("ذخيره ");
inline const QString closeButton = QStringLiteral("بستن");
inline const QString saved = QStringLiteral("ذخيره شد");
inline const QString logoSaved = QStringLiteral(" لوگو ذخيره شد");
inline const QString logoSavedTitle = QStringLiteral("توجه");
inline const QString childMode = QStringLiteral("حالت کودک");

// Read out for the logo check box.
inline const QString logoShown = QStringLiteral("آرم را نمايش مي دهد");
inline const QString logoHidden = QStringLiteral("آرم را نمايش نمي دهد");
// "%1" is the picked file's name.
inline const QString brokenPicture = QStringLiteral("فايل \"%1\" تصوير نيست يا آسيب ديده است و آرم تغيير نكرد");

} // namespace SettingsPanelTexts
