#pragma once

#include <QString>

/// The texts that name the test materials in use (printouts, content window).
namespace ContentTexts {

/// Footer line of a printout scored with a clinic's pack: name, version, fingerprint.
inline const QString packLine = QStringLiteral("مواد آزمون: %1، نسخه %2، اثر انگشت %3");
/// Footer line of a printout scored with the bundled set.
inline const QString demonstrationLine = QStringLiteral("مواد آزمون: مجموعه نمايشي همراه برنامه، بدون اعتبار باليني");
inline const QString demonstrationName = QStringLiteral("مجموعه نمايشي همراه برنامه");

} // namespace ContentTexts
