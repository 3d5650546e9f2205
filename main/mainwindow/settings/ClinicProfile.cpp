#include "mainwindow/settings/ClinicProfile.h"

#include "data/SqlFailure.h"
#include "mainwindow/settings/SettingsPanelTexts.h"
#include "ui/ClinicValues.h"

#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace ClinicProfile {

QString BuildClinicSummary(const QStringList &contactLines)
{
    return ClinicSummary(contactLines);
}

QImage readPicture(const QString &path)
{
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && qMax(size.width(), size.height()) > kLogoLongestSide)
        reader.setScaledSize(size.scaled(kLogoLongestSide, kLogoLongestSide, Qt::KeepAspectRatio));
    return scaledLogo(reader.read());
}

QImage scaledLogo(const QImage &picture)
{
    if (qMax(picture.width(), picture.height()) <= kLogoLongestSide)
        return picture;
    return picture.scaled(kLogoLongestSide, kLogoLongestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

bool writeLogo(const QImage &picture, const QString &path, QString *error)
{
    if (picture.isNull()) {
        if (error)
            *error = QStringLiteral("No picture");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = FileFailureText(file);
        return false;
    }
    QImageWriter writer(&file, "png");
    // For PNG the quality picks the zlib level: a fast one, still lossless.
    writer.setQuality(80);
    if (!writer.write(picture)) {
        if (error)
            *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = FileFailureText(file);
        return false;
    }
    return true;
}

QString showLogoCaption(bool shown)
{
    return shown ? SettingsPanelTexts::logoShown : SettingsPanelTexts::logoHidden;
}

} // namespace ClinicProfile
