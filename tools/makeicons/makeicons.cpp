// Draws the menu icons from the program's own icon: <out>/<n>x<n>/apps/<name>.png
// for each size, in the layout of the hicolor icon theme.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        err << "usage: makeicons <icon.png> <theme folder> <name> <size>...\n";
        return 2;
    }
    const QImage icon(args[1]);
    if (icon.isNull()) {
        err << "makeicons: cannot read " << args[1] << "\n";
        return 1;
    }
    for (int i = 4; i < args.size(); ++i) {
        const int size = args[i].toInt();
        if (size <= 0) {
            err << "makeicons: bad size " << args[i] << "\n";
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, args[3]);
        const QImage scaled = icon.size() == QSize(size, size)
            ? icon
            : icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!QDir().mkpath(folder) || !scaled.convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
            err << "makeicons: cannot write " << file << "\n";
            return 1;
        }
    }
    return 0;
}
