// Screenshots for docs/: the main window and the records window with 50
// examinees (full list, a search, the edit panel, the delete panel).
//
//   xvfb-run -a docshots <docs folder>

#include "BenchFolder.h"
#include "data/RecordSource.h"
#include "mainwindow/CreditsBox.h"
#include "mainwindow/MainWindow.h"
#include "records/window/RecordsWindow.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>
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
    return 0;
}
