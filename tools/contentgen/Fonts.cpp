#include "Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace {

struct FontFile
{
    const char *path;
    const char *family;
};

constexpr FontFile Files[] = {
    { "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "DejaVu Sans" },
    { "/usr/share/fonts/truetype/farsiweb/nazli.ttf", "Nazli" },
    { "/usr/share/fonts/truetype/farsiweb/nazlib.ttf", "Nazli" },
    { "/usr/share/fonts/truetype/farsiweb/titr.ttf", "Titr" },
};

QFont make(const char *family, int pixelSize, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace

namespace Fonts {

bool load(QString *error)
{
    for (const FontFile &file : Files) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file.path));
        if (id < 0 || !QFontDatabase::applicationFontFamilies(id).contains(QString::fromLatin1(file.family))) {
            *error = QStringLiteral("cannot load font %1 (%2)")
                         .arg(QString::fromLatin1(file.family), QString::fromLatin1(file.path));
            return false;
        }
    }
    for (const QFont &font : { digits(20), nazli(20), titr(20) }) {
        const QFontInfo info(font);
        // The same family may also be installed system-wide; Qt then adds the foundry.
        if (info.family() != font.family() && !info.family().startsWith(font.family() + QLatin1String(" ["))) {
            *error = QStringLiteral("font %1 resolves to %2").arg(font.family(), info.family());
            return false;
        }
    }
    return true;
}

QFont digits(int pixelSize)
{
    return make("DejaVu Sans", pixelSize, true);
}
QFont nazli(int pixelSize, bool bold)
{
    return make("Nazli", pixelSize, bold);
}
QFont titr(int pixelSize)
{
    return make("Titr", pixelSize, true);
}

} // namespace Fonts
