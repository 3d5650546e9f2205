#include "test/contentwindow/ContentWindow.h"

#include "common/Dialogs.h"
#include "data/AppPaths.h"
#include "test/content/ContentInUse.h"
#include "test/content/NormsTable.h"
#include "test/content/PackCheck.h"
#include "test/content/PackInstall.h"
#include "test/contentwindow/ContentWindowTexts.h"
#include "test/contentwindow/OptionCanvas.h"
#include "ui/CommonTexts.h"
#include "ui/FixedWindow.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

namespace T = ContentWindowTexts;

namespace {

constexpr int kRows = PackCheck::HighestRaw - PackCheck::LowestRaw + 1;
constexpr int kColumns = 12;
const QColor kErrorCell(240, 150, 140);
const QColor kWarningCell(250, 225, 130);

void error(QWidget *owner, const QString &text)
{
    Dialogs::message(owner, CommonTexts::errorTitle, text, QMessageBox::Ok, Dialogs::Icon::Warning);
}

void inform(QWidget *owner, const QString &text)
{
    Dialogs::message(owner, T::title, text, QMessageBox::Ok, Dialogs::Icon::Information);
}

QStringList faultLines(const QVector<PackFault> &faults, PackFault::Severity severity)
{
    QStringList lines;
    for (const PackFault &f : faults) {
        if (f.severity == severity)
            lines.append(f.text);
    }
    return lines;
}

} // namespace

ContentWindow::ContentWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    SetUpFixedWindow(this, "ContentWindow", T::title, 14400, 11550);
    const QFont font = Fonts::nazanin(11, true);
    setFont(font);

    LblInUse = new QLabel(this);
    LblInUse->setObjectName(QStringLiteral("LblInUse"));
    LblInUse->setGeometry(Twips::rect(240, 120, 13920, 390));
    LblInUse->setFont(Fonts::nazanin(12, true));

    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    Tabs->setGeometry(Twips::rect(240, 570, 13920, 7500));

    auto button = [](QWidget *parent, const char *name, const QString &caption, const QRect &twips) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(Twips::rect(twips));
        return b;
    };
    auto label = [](QWidget *parent, const char *name, const QRect &twips) {
        auto *l = new QLabel(parent);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(Twips::rect(twips));
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return l;
    };

    // Items: the picture at the test window's size, its controls beside it.
    auto *items = new QWidget;
    Canvas = new OptionCanvas(items);
    Canvas->move(Twips::px(120), Twips::px(120));
    auto *itemCaption = label(items, "LblItem", QRect(12300, 120, 1200, 420));
    itemCaption->setText(T::item);
    SpinItem = new QSpinBox(items);
    SpinItem->setObjectName(QStringLiteral("SpinItem"));
    SpinItem->setRange(1, ContentDraft::ItemCount);
    SpinItem->setGeometry(Twips::rect(10020, 120, 2160, 420));
    CmdPicture = button(items, "CmdPicture", T::pickPicture, QRect(10020, 660, 3480, 480));
    CmdKey = button(items, "CmdKey", T::chooseKey, QRect(10020, 1230, 3480, 480));
    CmdKey->setCheckable(true);
    LblKey = label(items, "LblKey", QRect(10020, 1830, 3480, 390));
    LblSharp = label(items, "LblSharp", QRect(10020, 2250, 3480, 390));
    LblOption = label(items, "LblOption", QRect(10020, 2700, 3480, 780));
    auto *help = label(items, "LblHelp", QRect(10020, 3540, 3480, 2700));
    help->setFont(Fonts::nazanin(10));
    help->setText(T::itemHelp);
    Tabs->addTab(items, T::itemsTab);

    // Norms: raw scores 5..36 down, IQ then percentile by age across.
    auto *norms = new QWidget;
    GridNorms = new QTableWidget(kRows, kColumns, norms);
    GridNorms->setObjectName(QStringLiteral("GridNorms"));
    GridNorms->setGeometry(Twips::rect(120, 120, 13620, 6000));
    GridNorms->setLayoutDirection(Qt::RightToLeft);
    QStringList headers;
    for (int c = 0; c < kColumns; ++c)
        headers.append((c < 6 ? T::iqColumn : T::percentileColumn).arg(5 + c % 6));
    GridNorms->setHorizontalHeaderLabels(headers);
    QStringList raws;
    for (int raw = PackCheck::LowestRaw; raw <= PackCheck::HighestRaw; ++raw)
        raws.append(QString::number(raw));
    GridNorms->setVerticalHeaderLabels(raws);
    GridNorms->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridNorms->horizontalHeader()->setFont(Fonts::nazanin(9, true));
    GridNorms->verticalHeader()->setDefaultSectionSize(24);
    GridNorms->installEventFilter(this);
    CmdPaste = button(norms, "CmdPaste", T::paste, QRect(10260, 6300, 3480, 480));
    CmdImportCsv = button(norms, "CmdImportCsv", T::importCsv, QRect(7800, 6300, 2280, 480));
    Tabs->addTab(norms, T::normsTab);

    ListFaults = new QListWidget(this);
    ListFaults->setObjectName(QStringLiteral("ListFaults"));
    ListFaults->setGeometry(Twips::rect(240, 8160, 13920, 2520));
    ListFaults->setLayoutDirection(Qt::RightToLeft);
    ListFaults->setFont(Fonts::nazanin(10));

    CmdSavePack = button(this, "CmdSavePack", T::savePack, QRect(11160, 10830, 3000, 525));
    CmdInstallPack = button(this, "CmdInstallPack", T::installPack, QRect(9000, 10830, 2040, 525));
    CmdBundled = button(this, "CmdBundled", T::bundled, QRect(5160, 10830, 3720, 525));
    CmdClose = button(this, "CmdClose", T::close, QRect(240, 10830, 1500, 525));

    connect(SpinItem, &QSpinBox::valueChanged, this, &ContentWindow::showItem);
    connect(CmdPicture, &QPushButton::clicked, this, &ContentWindow::pickPicture);
    connect(CmdKey, &QPushButton::toggled, Canvas, &OptionCanvas::setChoosingKey);
    connect(Canvas, &OptionCanvas::optionsChanged, this, &ContentWindow::optionsEdited);
    connect(Canvas, &OptionCanvas::selectionChanged, this, &ContentWindow::describeSelection);
    connect(Canvas, &OptionCanvas::keyChosen, this, [this](int option) {
        m_draft.setKey(currentItem(), option);
        CmdKey->setChecked(false);
        LblKey->setText(T::key.arg(option));
    });
    connect(GridNorms, &QTableWidget::cellChanged, this, &ContentWindow::gridEdited);
    connect(CmdPaste, &QPushButton::clicked, this, [this] { pasteCells(QApplication::clipboard()->text()); });
    connect(CmdImportCsv, &QPushButton::clicked, this, &ContentWindow::importCsv);
    connect(CmdSavePack, &QPushButton::clicked, this, &ContentWindow::savePack);
    connect(CmdInstallPack, &QPushButton::clicked, this, &ContentWindow::installPack);
    connect(CmdBundled, &QPushButton::clicked, this, &ContentWindow::useBundled);
    connect(CmdClose, &QPushButton::clicked, this, &QWidget::close);
}

bool ContentWindow::load(QString *error)
{
    ContentDraft draft;
    if (!draft.load(ContentInUse::current().dir, error))
        return false;
    m_draft = draft;
    showInUse();
    showItem(SpinItem->value());
    fillGrid(m_draft.norms());
    return true;
}

void ContentWindow::showInUse()
{
    const ContentInUse use = ContentInUse::current();
    LblInUse->setText(use.pack ? T::inUsePack.arg(use.name, use.version, use.fingerprint) : T::inUseBundled);
}

int ContentWindow::currentItem() const
{
    return SpinItem->value();
}

void ContentWindow::showItem(int item)
{
    if (SpinItem->value() != item) {
        SpinItem->setValue(item); // shows it through valueChanged
        return;
    }
    Canvas->setItem(m_draft.picture(item), m_draft.options(item), m_draft.key(item));
    LblKey->setText(T::key.arg(m_draft.key(item)));
    LblSharp->setText(m_draft.hasSharpCopy(item) ? T::sharpCopy : T::noSharpCopy);
    describeSelection();
}

void ContentWindow::optionsEdited()
{
    m_draft.setOptions(currentItem(), Canvas->options());
    describeSelection();
}

void ContentWindow::describeSelection()
{
    const int k = Canvas->selected();
    if (k < 0) {
        LblOption->clear();
        return;
    }
    const QRect r = Canvas->optionRect(k);
    LblOption->setText(T::optionPlace.arg(k + 1).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
}

void ContentWindow::pickPicture()
{
    const QString path = Dialogs::openFile(this, T::pickPicture, QString(), T::pictureFilter);
    if (path.isEmpty())
        return;
    const QImage source(path);
    if (source.isNull()) {
        error(this, T::pictureUnreadable.arg(path));
        return;
    }
    m_draft.setPicture(currentItem(), source);
    showItem(currentItem());
}

// ---- norms ------------------------------------------------------------------

void ContentWindow::fillGrid(const QVector<QStringList> &table)
{
    m_filling = true;
    GridNorms->clearContents();
    for (int r = 1; r < table.size(); ++r) {
        bool ok = false;
        const int raw = table[r].value(0).toInt(&ok);
        if (!ok || raw < PackCheck::LowestRaw || raw > PackCheck::HighestRaw)
            continue;
        for (int c = 0; c < kColumns; ++c) {
            auto *cell = new QTableWidgetItem(table[r].value(c + 1));
            cell->setTextAlignment(Qt::AlignCenter);
            GridNorms->setItem(raw - PackCheck::LowestRaw, c, cell);
        }
    }
    m_filling = false;
    checkNorms();
}

QVector<QStringList> ContentWindow::gridTable() const
{
    QVector<QStringList> table = NormsTable::blank();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const QTableWidgetItem *cell = GridNorms->item(r, c);
            table[r + 1][c + 1] = cell ? cell->text().trimmed() : QString();
        }
    }
    return table;
}

void ContentWindow::gridEdited()
{
    if (m_filling)
        return;
    m_draft.setNorms(gridTable());
    checkNorms();
}

void ContentWindow::checkNorms()
{
    const QVector<PackFault> faults = PackCheck::checkNorms(gridTable());
    m_filling = true;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            QTableWidgetItem *cell = GridNorms->item(r, c);
            if (!cell) {
                cell = new QTableWidgetItem;
                cell->setTextAlignment(Qt::AlignCenter);
                GridNorms->setItem(r, c, cell);
            }
            cell->setBackground(QBrush());
            cell->setToolTip(QString());
        }
    }
    // Errors are marked after warnings, so a cell with both shows the error.
    for (const PackFault::Severity severity : { PackFault::Severity::Warning, PackFault::Severity::Error }) {
        for (const PackFault &f : faults) {
            if (f.severity != severity || f.rawScore < PackCheck::LowestRaw || f.rawScore > PackCheck::HighestRaw)
                continue;
            const int row = f.rawScore - PackCheck::LowestRaw;
            // A fault of a whole row (a missing raw score) marks each of its cells.
            for (int c = f.column > 0 ? f.column - 1 : 0; c < (f.column > 0 ? f.column : kColumns); ++c) {
                QTableWidgetItem *cell = GridNorms->item(row, c);
                cell->setBackground(f.isError() ? kErrorCell : kWarningCell);
                cell->setToolTip(f.text);
            }
        }
    }
    m_filling = false;
    showFaults(faults);
}

void ContentWindow::pasteCells(const QString &text)
{
    QVector<QStringList> table = gridTable();
    const int row = qMax(0, GridNorms->currentRow());
    const int column = qMax(0, GridNorms->currentColumn());
    if (NormsTable::paste(&table, row, column, text) == 0)
        return;
    m_draft.setNorms(table);
    fillGrid(table);
}

void ContentWindow::importCsv()
{
    const QString path = Dialogs::openFile(this, T::importCsv, QString(), T::csvFilter);
    if (path.isEmpty())
        return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error(this, T::fileUnreadable.arg(path));
        return;
    }
    QVector<QStringList> table = PackCheck::parseTable(QString::fromUtf8(f.readAll()));
    // The file's own faults (header, rows that are not raw scores) before
    // the grid shows what could be placed.
    const QVector<PackFault> fileFaults = PackCheck::checkNorms(table);
    if (!table.isEmpty() && table.first().value(0) != QLatin1String("Code"))
        table.prepend(NormsTable::blank().first());
    fillGrid(table);
    m_draft.setNorms(gridTable());
    QVector<PackFault> fileOnly;
    for (const PackFault &f : fileFaults) {
        if (f.rawScore < PackCheck::LowestRaw || f.rawScore > PackCheck::HighestRaw)
            fileOnly.append(f);
    }
    if (!fileOnly.isEmpty())
        showFaults(fileOnly + PackCheck::checkNorms(gridTable()));
}

bool ContentWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == GridNorms && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        pasteCells(QApplication::clipboard()->text());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ContentWindow::showFaults(const QVector<PackFault> &faults)
{
    ListFaults->clear();
    if (faults.isEmpty())
        ListFaults->addItem(T::noFaults);
    for (const PackFault &f : faults) {
        auto *line = new QListWidgetItem((f.isError() ? T::errorMark : T::warningMark).arg(f.text), ListFaults);
        line->setBackground(f.isError() ? kErrorCell : kWarningCell);
    }
}

// ---- packs ------------------------------------------------------------------

bool ContentWindow::acceptable(const ContentPack &pack)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QVector<PackFault> faults = PackCheck::check(pack);
    QApplication::restoreOverrideCursor();
    showFaults(faults);
    if (PackCheck::hasErrors(faults)) {
        error(this, T::packErrors.arg(faultLines(faults, PackFault::Severity::Error).join(QLatin1Char('\n'))));
        return false;
    }
    const QStringList warnings = faultLines(faults, PackFault::Severity::Warning);
    return warnings.isEmpty()
        || Dialogs::message(this, T::title, T::packWarnings.arg(warnings.join(QLatin1Char('\n'))),
               QMessageBox::Yes | QMessageBox::No, Dialogs::Icon::Question, QMessageBox::No)
        == QMessageBox::Yes;
}

void ContentWindow::savePack()
{
    ContentPack &pack = m_draft.pack();
    bool ok = false;
    const QString name = Dialogs::input(this, T::title, T::packName, pack.name(), &ok).trimmed();
    if (!ok || name.isEmpty())
        return;
    const QString version = Dialogs::input(this, T::title, T::packVersion, pack.contentVersion(), &ok).trimmed();
    if (!ok || version.isEmpty())
        return;
    QJsonObject m = pack.manifest();
    m.insert(QStringLiteral("name"), name);
    m.insert(QStringLiteral("contentVersion"), version);
    m.insert(QStringLiteral("created"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    pack.setManifest(m);
    if (!acceptable(pack))
        return;
    const QString path = Dialogs::saveFile(this, T::savePack, name + QLatin1String(ContentPack::Suffix), T::packFilter);
    if (path.isEmpty())
        return;
    QString why;
    if (!pack.saveArchive(path, &why)) {
        error(this, T::failed.arg(why));
        return;
    }
    inform(this, T::saved.arg(path, pack.shortFingerprint()));
}

void ContentWindow::installPack()
{
    const QString path = Dialogs::openFile(this, T::installPack, QString(), T::packFilter);
    if (path.isEmpty())
        return;
    ContentPack pack;
    QString why;
    if (!pack.loadArchive(path, &why)) {
        error(this, T::failed.arg(why));
        return;
    }
    if (!acceptable(pack))
        return;
    PackInstall::Result result;
    if (!PackInstall::install(pack, AppPaths::dataDir(), &result, &why)) {
        error(this, T::failed.arg(why));
        return;
    }
    load(&why);
    inform(this, T::installed.arg(pack.shortFingerprint(), result.safetyCopy));
}

void ContentWindow::useBundled()
{
    if (Dialogs::message(
            this, T::title, T::askBundled, QMessageBox::Yes | QMessageBox::No, Dialogs::Icon::Question, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    PackInstall::Result result;
    QString why;
    if (!PackInstall::useBundled(AppPaths::contentDir(), AppPaths::dataDir(), &result, &why)) {
        error(this, T::failed.arg(why));
        return;
    }
    load(&why);
    inform(this, T::bundledBack.arg(result.safetyCopy));
}
