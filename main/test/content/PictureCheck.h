#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

/// Whether a content picture is whole: decoded to its last row, and for PNG
/// and JPEG also complete to its end marker (the decoders let a cut file pass
/// with blank rows at the bottom).
namespace PictureCheck {

enum class Outcome { Whole, Unreadable, Cut };

/// Decodes \a data (named \a name, for its suffix) fully. *size gets the
/// picture's size, *why the decoder's complaint when it is unreadable.
Outcome check(const QByteArray &data, const QString &name, QSize *size = nullptr, QString *why = nullptr);

} // namespace PictureCheck
