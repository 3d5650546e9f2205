#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

/// The clinic profile's rules, without widgets.
namespace ClinicProfile {

/// The clinic summary: every non-empty contact line (T1 to T6, in order),
/// each followed by CR LF.
QString BuildClinicSummary(const QStringList &contactLines);

/// A logo larger than this on its longest side is scaled down: a camera's
/// photo would otherwise cost seconds to store and to read back.
constexpr int kLogoLongestSide = 1024;

/// Reads a picture by its content, whatever the file's extension says (a
/// bitmap inside ".jpg" included), scaled down to kLogoLongestSide on its
/// longest side (decoded at the smaller size where the format allows). A
/// null image when the file is missing or not a picture.
QImage readPicture(const QString &path);

/// \a picture scaled down to at most kLogoLongestSide on its longest side.
QImage scaledLogo(const QImage &picture);

/// Writes \a picture to \a path as PNG (lossless), replacing the file only
/// once the new one is complete: on failure the old file stays as it was.
bool writeLogo(const QImage &picture, const QString &path, QString *error);

/// The check box caption for the show-logo flag.
QString showLogoCaption(bool shown);

} // namespace ClinicProfile
