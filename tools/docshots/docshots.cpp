// Screenshots for docs/: the main window and the records window with 50
// examinees (full list, a search, the edit panel, the delete panel), and the
// content window (an item with its options, the norms showing faults).
//
//   xvfb-run -a docshots <docs folder>

#include "BenchFolder.h"
#include "data/RecordSource.h"
#include "mainwindow/CreditsBox.h"
#include "mainwindow/MainWindow.h"
#include "records/window/RecordsWindow.h"
#include "test/contentwindow/ContentWindow.h"
#include "test/contentwindow/OptionCanvas.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

void shoot(QWidget *w, const QString &path)
{
    settle();
    QImage image = w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (!w->mask().isEmpty()) {
        // What lies outside a shaped window is not part of it.
        QImage shaped(image.size(), QImage::Format_ARGB32);
        shaped.fill(Qt::transparent);
        QPainter p(&shaped);
        p.setClipRegion(w->mask());
        p.drawImage(0, 0, image);
        p.end();
        image = shaped;
    }
    image.save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir docs(argc >= 2 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    BenchFolder folder(50);
    // The pictures come from the shipped content.
    QDir().mkpath(QDir(AppPaths::programDir()).filePath(QStringLiteral("content")));
    const QString content = QStringLiteral(PELORIN_CONTENT_DIR);
    AppPaths::setProgramDir(folder.dir.path());
    QFile::link(content + QStringLiteral("/art"), AppPaths::contentDir() + QStringLiteral("/art"));

    MainWindow main;
    QString error;
    if (!main.load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    main.show();
    for (int i = 0; i < 400; ++i)
        child<CreditsBox>(&main, "Picture1")->tick();
    shoot(&main, docs.filePath(QStringLiteral("main_window.png")));

    ClinicValues clinic;
    RecordsWindow records(&main, &clinic);
    records.load(&error);
    records.show();
    shoot(&records, docs.filePath(QStringLiteral("records_full.png")));
    child<QComboBox>(&records, "DataCombo1")
        ->setEditText(child<RecordSource>(&records, "Adodc2")
                          ->value(9, child<RecordSource>(&records, "Adodc2")->fieldIndex(QStringLiteral("LName"))));
    shoot(&records, docs.filePath(QStringLiteral("records_search.png")));
    records.review();
    child<QTableView>(&records, "DataGrid1")->selectRow(3);
    child<RecordSource>(&records, "Adodc2")->setCurrentRow(3);
    records.showEditPanel();
    shoot(&records, docs.filePath(QStringLiteral("records_edit.png")));
    records.showDeletePanel();
    child<QLineEdit>(&records, "Text3")->setText(QStringLiteral("17"));
    shoot(&records, docs.filePath(QStringLiteral("records_delete.png")));

    // The content window over the whole shipped content.
    QTemporaryDir materials;
    AppPaths::setProgramDir(materials.path());
    QFile::link(content, AppPaths::contentDir());
    ContentWindow window;
    if (!window.load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    window.show();
    auto *canvas = child<OptionCanvas>(&window, "Canvas");
    canvas->select(1);
    canvas->setFocus();
    shoot(&window, docs.filePath(QStringLiteral("content_window_item.png")));
    child<QTabWidget>(&window, "Tabs")->setCurrentIndex(1);
    auto *grid = child<QTableWidget>(&window, "GridNorms");
    grid->item(10, 1)->setText(QStringLiteral("x")); // raw score 15, age 6
    grid->item(3, 0)->setText(QStringLiteral("40")); // raw score 8, age 5: falls
    grid->clearSelection(); // the marks show, not the selection
    shoot(&window, docs.filePath(QStringLiteral("content_window_norms.png")));
    return 0;
}
