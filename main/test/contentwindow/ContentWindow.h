#pragma once

#include "test/content/ContentDraft.h"
#include "test/content/ContentPack.h"

#include <QVector>
#include <QWidget>

class OptionCanvas;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;

/// The clinic's test materials: the content in use, its items (picture,
/// option rectangles, key) and norms, saved as a pack, a pack installed, or
/// the bundled set taken back. The rules live in the content libraries.
class ContentWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ContentWindow(QWidget *parent = nullptr);

    /// Reads the content in use into the editor; false with *error when its
    /// folder cannot be read.
    bool load(QString *error);

    ContentDraft &draft() { return m_draft; }
    int currentItem() const;
    void showItem(int item);
    /// The norms checks on the table as it stands, marked on their cells.
    void checkNorms();
    /// Pastes tab-separated cells at the grid's current cell.
    void pasteCells(const QString &text);

    void pickPicture();
    void importCsv();
    void savePack();
    void installPack();
    void useBundled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showInUse();
    void optionsEdited();
    void describeSelection();
    void fillGrid(const QVector<QStringList> &table);
    QVector<QStringList> gridTable() const;
    void gridEdited();
    void showFaults(const QVector<PackFault> &faults);
    /// The full check; false after telling why (errors, or warnings declined).
    bool acceptable(const ContentPack &pack);

    QLabel *LblInUse = nullptr;
    QTabWidget *Tabs = nullptr;
    OptionCanvas *Canvas = nullptr;
    QSpinBox *SpinItem = nullptr;
    QPushButton *CmdPicture = nullptr;
    QPushButton *CmdKey = nullptr;
    QLabel *LblKey = nullptr;
    QLabel *LblSharp = nullptr;
    QLabel *LblOption = nullptr;
    QTableWidget *GridNorms = nullptr;
    QPushButton *CmdPaste = nullptr;
    QPushButton *CmdImportCsv = nullptr;
    QListWidget *ListFaults = nullptr;
    QPushButton *CmdSavePack = nullptr;
    QPushButton *CmdInstallPack = nullptr;
    QPushButton *CmdBundled = nullptr;
    QPushButton *CmdClose = nullptr;

    ContentDraft m_draft;
    bool m_filling = false;
};
