// Time to pick a large photo as the logo and to run the main window's
// activation step afterwards, against one plain decode of the same photo.
//
//   bench_logo [activations]   (default 20)

#include "common/Dialogs.h"
#include "data/AppPaths.h"
#include "mainwindow/settings/ClinicProfile.h"
#include "mainwindow/settings/SettingsPanel.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A 12-megapixel picture with the fine detail of a photo, so the JPEG is
// as large and slow to decode as a camera's.
QImage photo()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 4000, 3000);
    g.setColorAt(0, QColor(40, 90, 160));
    g.setColorAt(1, QColor(220, 180, 90));
    p.fillRect(image.rect(), g);
    p.end();
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(48)) - 24;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255), qBound(0, qBlue(c) + n, 255));
        }
    }
    return image;
}

double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int activations = argc >= 2 ? atoi(argv[1]) : 20;
    QTemporaryDir dir;
    AppPaths::setProgramDir(dir.path());
    Dialogs::setTestMode(true);
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    if (!photo().save(path, "JPEG", 90))
        return 1;

    QElapsedTimer t;
    t.start();
    const QImage decoded(path);
    const double anchor = ms(t);
    if (decoded.isNull())
        return 1;

    t.start();
    const QImage read = ClinicProfile::readPicture(path);
    const double readMs = ms(t);
    t.start();
    ClinicProfile::writeLogo(read, dir.filePath(QStringLiteral("written.png")), nullptr);
    const double writeMs = ms(t);

    ClinicValues clinic;
    SettingsPanel panel(nullptr, nullptr, &clinic);
    Dialogs::setNextFile(path);
    t.start();
    panel.pickLogo();
    const double pick = ms(t);

    t.start();
    for (int i = 0; i < activations; ++i)
        panel.windowActivated();
    const double activation = ms(t) / activations;

    std::printf("photo %dx%d, %.1f MB JPEG\n", decoded.width(), decoded.height(), QFileInfo(path).size() / 1048576.0);
    std::printf("anchor: one decode of the photo       %8.1f ms\n", anchor);
    std::printf("pick the photo as logo                %8.1f ms  (%.2f x anchor)\n", pick, pick / anchor);
    std::printf("  of which: read %.1f ms, write %.1f ms\n", readMs, writeMs);
    std::printf("activation step, mean of %3d          %8.2f ms  (%.3f x anchor)\n", activations, activation,
        activation / anchor);
    std::printf("logo kept: %dx%d, logo file %.2f MB\n", clinic.logo.width(), clinic.logo.height(),
        QFileInfo(AppPaths::logoFile()).size() / 1048576.0);
    return 0;
}
