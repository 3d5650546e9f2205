#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

/// The clinic profile's rules, without widgets.
namespace ClinicProfile {

/// The clinic summary: every non-empty contact line (T1 to T6, in order),
/// each followed by CR LF.
QString BuildClinicSummary(const QStringList &contactLines);

/// Reads a picture by its content, whatever the file's extension says (a
/// bitmap inside ".jpg" included). A null image when the file is missing or
/// not a picture.
QImage readPicture(const QString &path);

/// Writes \a picture to \a path as PNG (lossless), replacing the file only
/// once the new one is complete: on failure the old file stays as it was.
bool writeLogo(const QImage &picture, const QString &path, QString *error);

/// The check box caption for the show-logo flag.
QString showLogoCaption(bool shown);

} // namespace ClinicProfile
