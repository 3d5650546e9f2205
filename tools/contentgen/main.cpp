// contentgen: draws Pelorin's demonstration test materials (item pictures,
// answer form, window art), writes the manifest and the norms table.
//
//   contentgen <output dir> [--contact-sheet <png>] [--form-preview <png>]

#include "ArtPainter.h"
#include "ContactSheet.h"
#include "Fonts.h"
#include "FormPainter.h"
#include "ItemDesign.h"
#include "ItemLayout.h"
#include "ItemPainter.h"
#include "Norms.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool savePng(const QImage &image, const QString &path, QString *error)
{
    if (!image.save(path, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

QJsonArray rectArray(const QRectF &r)
{
    return { qRound(r.left()), qRound(r.top()), qRound(r.width()), qRound(r.height()) };
}

bool writeItems(const QDir &out, QJsonArray *items, QString *error)
{
    for (int n = 1; n <= 36; ++n) {
        const ItemLayout layout = layoutItem(n, figureAspect(n));
        const ItemDesign design = designItem(n, layout);
        const QString base = QStringLiteral("items/item%1").arg(n, 2, 10, QLatin1Char('0'));
        if (!savePng(paintItem(layout, design, 1), out.filePath(base + ".png"), error)
            || !savePng(paintItem(layout, design, 2), out.filePath(base + "@2x.png"), error))
            return false;
        QJsonArray options;
        QJsonArray figures;
        for (int i = 0; i < 6; ++i) {
            options.append(rectArray(layout.options[i]));
            figures.append(rectArray(layout.figures[i]));
        }
        items->append(QJsonObject { { "number", n }, { "picture", base + ".png" }, { "picture2x", base + "@2x.png" },
            { "options", options }, { "figures", figures }, { "key", design.key } });
    }
    return true;
}

bool writeAll(const QDir &out, QString *error)
{
    if (!out.mkpath("items") || !out.mkpath("art")) {
        *error = QStringLiteral("cannot create %1").arg(out.path());
        return false;
    }
    QJsonArray items;
    if (!writeItems(out, &items, error))
        return false;

    if (!savePng(paintAnswerForm(), out.filePath("answer_form.png"), error))
        return false;
    QJsonArray boxes;
    for (const QRect &box : answerBoxes())
        boxes.append(rectArray(box));

    QJsonObject art;
    for (const ArtPicture &picture : artPictures()) {
        const QString file = "art/" + picture.name + ".png";
        if (!savePng(picture.paint(), out.filePath(file), error))
            return false;
        art.insert(picture.name, file);
    }

    // The demonstration set states one reliability for every age of the norms.
    QJsonObject reliability;
    for (int age = 5; age <= 10; ++age)
        reliability.insert(QString::number(age), 0.90);

    const QJsonObject manifest { { "version", 1 }, { "reliability", reliability }, { "answerForm", "answer_form.png" },
        { "answerBoxes", boxes }, { "norms", "norms.csv" }, { "art", art }, { "items", items } };
    return writeFile(out.filePath("norms.csv"), normsCsv(), error)
        && writeFile(out.filePath("manifest.json"), QJsonDocument(manifest).toJson(QJsonDocument::Indented), error);
}

} // namespace

int main(int argc, char **argv)
{
    // Headless and independent of the desktop's settings.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    QString sheet;
    QString formPreview;
    for (const auto &[flag, target] : { std::pair { QStringLiteral("--contact-sheet"), &sheet },
             std::pair { QStringLiteral("--form-preview"), &formPreview } }) {
        const qsizetype at = args.indexOf(flag);
        if (at >= 0 && at + 1 < args.size()) {
            *target = args.at(at + 1);
            args.remove(at, 2);
        }
    }
    if (args.size() != 1) {
        err << "usage: contentgen <output dir> [--contact-sheet <png>] [--form-preview <png>]\n";
        return 2;
    }

    QString error;
    if (!Fonts::load(&error) || !writeAll(QDir(args.first()), &error)
        || (!sheet.isEmpty() && !savePng(contactSheet(QDir(args.first())), sheet, &error))
        || (!formPreview.isEmpty() && !savePng(answerFormPreview(), formPreview, &error))) {
        err << "contentgen: " << error << '\n';
        return 1;
    }
    return 0;
}
