#include "records/window/RecordsWindow.h"

#include "calendar/ExamineeAge.h"
#include "common/AccessibleName.h"
#include "common/Dialogs.h"
#include "common/PersianInput.h"
#include "data/AppInfo.h"
#include "data/BoundField.h"
#include "data/Database.h"
#include "data/DistinctValuesModel.h"
#include "data/RecordSource.h"
#include "data/RecordSourceModel.h"
#include "export/ExportFile.h"
#include "records/ExamineeEdit.h"
#include "records/ExamineeRemoval.h"
#include "records/chart/ChartWindow.h"
#include "records/chart/IqChartTexts.h"
#include "records/report/FullReport.h"
#include "records/window/RecordsTexts.h"
#include "test/content/ContentInUse.h"
#include "ui/ClinicValues.h"
#include "ui/CommonTexts.h"
#include "ui/DateTexts.h"
#include "ui/FixedWindow.h"
#include "ui/Fonts.h"
#include "ui/ReadFailures.h"
#include "ui/Style.h"
#include "ui/TimedNotice.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace T = RecordsTexts;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 512;

const QColor kBackground(232, 240, 234);
const QColor kPanel(81, 128, 91);

// Labels sit to the right of their box and hug it.
QLabel *label(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setFont(Fonts::nazanin(11, true));
    b->setStyleSheet(Style::pinkButtons(5));
    return b;
}

// A search box lists its entries from a model of one field; popup
// completion only, so typing never has the box fill in text by itself.
QComboBox *searchBox(QWidget *parent, const char *name, const QRect &geometry, QAbstractItemModel *model)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto *view = qobject_cast<QListView *>(box->view()))
        view->setUniformItemSizes(true);
    if (model) {
        box->setModel(model);
        auto *completer = new QCompleter(model, box);
        completer->setCompletionMode(QCompleter::PopupCompletion);
        completer->setCaseSensitivity(Qt::CaseSensitive);
        box->setCompleter(completer);
    }
    box->setCurrentIndex(-1);
    box->clearEditText();
    return box;
}

} // namespace

RecordsWindow::RecordsWindow(QWidget *mainWindow, const ClinicValues *clinic)
    : QWidget(nullptr, Qt::Window)
    , m_mainWindow(mainWindow)
    , m_clinic(clinic)
{
    SetUpFixedWindow(this, "FrmCode", T::title, kWidth * Twips::kPerPixel, kHeight * Twips::kPerPixel, kBackground);
    setFont(Fonts::nazanin(11));

    Adodc1 = new RecordSource(this);
    Adodc2 = new RecordSource(this);
    Adodc3 = new RecordSource(this);
    Adodc4 = new RecordSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Adodc2->setObjectName(QStringLiteral("Adodc2"));
    Adodc3->setObjectName(QStringLiteral("Adodc3"));
    Adodc4->setObjectName(QStringLiteral("Adodc4"));
    ShowReadFailures(this, { Adodc1, Adodc2, Adodc3, Adodc4 });

    buildSearchRow();

    auto *caption = new QLabel(T::gridCaption, this);
    caption->setGeometry(10, 46, kWidth - 20, 20);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFont(Fonts::nazanin(11, true));

    m_gridModel = new RecordSourceModel(Adodc2,
        { QStringLiteral("Code"), QStringLiteral("FName"), QStringLiteral("LName"), QStringLiteral("Tahsil"),
            QStringLiteral("Sen"), QStringLiteral("Group"), QStringLiteral("NKham"), QStringLiteral("RDarsadi"),
            QStringLiteral("Hooshbahr") },
        { T::colCode, T::colFName, T::colLName, T::colTahsil, T::colSen, T::colGroup, T::colRaw, T::colPercentile,
            T::colIq },
        this);
    // An edit shows in the grid once it is stored, never before.
    m_gridModel->setShowsPending(false);
    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    NameAfterCaption(caption, DataGrid1);
    DataGrid1->setGeometry(10, 66, kWidth - 20, 158);
    DataGrid1->setModel(m_gridModel);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setAlternatingRowColors(true);
    DataGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DataGrid1->verticalHeader()->setDefaultSectionSize(22);
    DataGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    DataGrid1->horizontalHeader()->setSectionResizeMode(8, QHeaderView::ResizeToContents);
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &RecordsWindow::gridRowChosen);

    buildEditPanel();
    buildDeletePanel();
    buildButtons();

    LabelCount = new QLabel(this);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    LabelCount->setGeometry(10, 236, 230, 24);
    LabelCount->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);

    connect(Adodc2, &RecordSource::rowsChanged, this, &RecordsWindow::rowsChanged);
    connect(Adodc2, &RecordSource::currentChanged, this, &RecordsWindow::currentChanged);
}

void RecordsWindow::buildSearchRow()
{
    m_lastNames = new DistinctValuesModel(Adodc2, QStringLiteral("LName"), this);
    m_firstNames = new DistinctValuesModel(Adodc2, QStringLiteral("FName"), this);

    QLabel *lastNameCaption = label(this, T::searchLName, QRect(700, 12, 90, 26));
    DataCombo1 = searchBox(this, "DataCombo1", QRect(550, 12, 148, 26), m_lastNames);
    NameAfterCaption(lastNameCaption, DataCombo1);
    QLabel *firstNameCaption = label(this, T::searchFName, QRect(460, 12, 60, 26));
    DataCombo6 = searchBox(this, "DataCombo6", QRect(310, 12, 148, 26), m_firstNames);
    NameAfterCaption(firstNameCaption, DataCombo6);
    QLabel *groupCaption = label(this, T::searchGroup, QRect(200, 12, 60, 26));
    Combo3 = new QComboBox(this);
    NameAfterCaption(groupCaption, Combo3);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    Combo3->setGeometry(20, 12, 178, 26);
    Combo3->addItems(T::searchGroups);
    Combo3->setPlaceholderText(T::groupInitial);
    Combo3->setCurrentIndex(-1);

    connect(DataCombo1, &QComboBox::editTextChanged, this,
        [this](const QString &text) { search(DataCombo1, QStringLiteral("LName"), text); });
    connect(DataCombo6, &QComboBox::editTextChanged, this,
        [this](const QString &text) { search(DataCombo6, QStringLiteral("FName"), text); });
    connect(Combo3, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        if (Combo3->currentIndex() >= 0)
            search(Combo3, QStringLiteral("Group"), text);
    });
}

void RecordsWindow::buildEditPanel()
{
    Frame2 = new QGroupBox(T::editCaption, this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(Twips::rect(3735, 3465, 3525, 3930));
    Frame2->setStyleSheet(
        QStringLiteral("QGroupBox { background-color: rgb(81, 128, 91); color: white; border-radius: 6px;"
                       " margin-top: 0px; padding-top: 18px; }"
                       "QGroupBox::title { subcontrol-origin: padding; subcontrol-position: top center; }"
                       "QLabel { color: white; }"));
    const int w = Frame2->width();
    // Eight rows: the six details, then the two dates.
    auto rowTop = [](int row) { return 22 + row * 25; };
    auto field = [&](const QString &caption, const char *fieldName, int row, bool narrow) {
        const int y = rowTop(row);
        label(Frame2, caption, QRect(w - 72, y, 64, 23));
        auto *edit = new QLineEdit(Frame2);
        edit->setGeometry(narrow ? QRect(w - 118, y, 42, 23) : QRect(10, y, w - 86, 23));
        BoundField::bind(edit, Adodc2, QLatin1String(fieldName));
        return edit;
    };
    TextFName = field(T::editFName, "FName", 0, false);
    TextLName = field(T::editLName, "LName", 1, false);
    TextSen = field(T::editSen, "Sen", 2, true);
    TextGroup = field(T::editGroup, "Group", 3, true);
    TextTahsil = field(T::editTahsil, "Tahsil", 4, false);
    TextAzmayande = field(T::editExaminer, "Azmayande", 5, false);
    TextFName->setObjectName(QStringLiteral("TextFName"));
    TextLName->setObjectName(QStringLiteral("TextLName"));
    TextSen->setObjectName(QStringLiteral("TextSen"));
    TextGroup->setObjectName(QStringLiteral("TextGroup"));
    TextTahsil->setObjectName(QStringLiteral("TextTahsil"));
    TextAzmayande->setObjectName(QStringLiteral("TextAzmayande"));
    TextTavalod = field(T::editBirthDate, "DateTavalod", 6, false);
    TextEjra = field(T::editTestDate, "DateEjra", 7, false);
    TextTavalod->setObjectName(QStringLiteral("TextTavalod"));
    TextEjra->setObjectName(QStringLiteral("TextEjra"));
    // The birth date is short: the exact age stands beside it.
    TextTavalod->setGeometry(w - 150, rowTop(6), 74, 23);
    LblAge = label(Frame2, QString(), QRect(4, rowTop(6), w - 156, 23));
    LblAge->setObjectName(QStringLiteral("LblAge"));
    LblAge->setFont(Fonts::nazanin(10));
    LblAge->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    // Moving through the rows shows each one's age; only typing sets an
    // empty age, so browsing never leaves a pending change.
    for (QLineEdit *date : { TextTavalod, TextEjra }) {
        connect(date, &QLineEdit::textChanged, this, [this] { datesChanged(false); });
        connect(date, &QLineEdit::textEdited, this, [this] { datesChanged(true); });
    }

    // Picking or typing in a choice list copies its text into the field.
    auto choices = [&](const char *name, const QStringList &items, int row, QLineEdit *target) {
        auto *combo = new QComboBox(Frame2);
        combo->setObjectName(QLatin1String(name));
        combo->setGeometry(10, rowTop(row), w - 134, 23);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(items);
        combo->setCurrentIndex(-1);
        combo->setEditText(T::choiceInitial);
        combo->lineEdit()->setCursorPosition(0); // show the text's beginning
        combo->setToolTip(T::choiceInitial);
        connect(combo, &QComboBox::textActivated, target, &QLineEdit::setText);
        connect(combo->lineEdit(), &QLineEdit::textEdited, target, &QLineEdit::setText);
        return combo;
    };
    Combo2 = choices("Combo2", T::ages, 2, TextSen);
    Combo1 = choices("Combo1", T::editGroups, 3, TextGroup);

    Command7 = button(Frame2, "Command7", T::save, QRect(w / 2 + 5, 225, w / 2 - 15, 30));
    Command8 = button(Frame2, "Command8", T::cancel, QRect(10, 225, w / 2 - 15, 30));
    connect(Command7, &QPushButton::clicked, this, &RecordsWindow::saveEdit);
    connect(Command8, &QPushButton::clicked, this, &RecordsWindow::cancelEdit);
    Frame2->hide();
}

void RecordsWindow::buildDeletePanel()
{
    Frame1 = new QGroupBox(T::deleteCaption, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(Twips::rect(3735, 3465, 3315, 2655));
    Frame1->setStyleSheet(Frame2->styleSheet());
    const int w = Frame1->width();
    auto *prompt = new QLabel(T::deletePrompt, Frame1);
    prompt->setGeometry(10, 30, w - 20, 26);
    prompt->setAlignment(Qt::AlignCenter);
    Text3 = new QLineEdit(Frame1);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(30, 62, w - 60, 28);
    Text3->setAlignment(Qt::AlignCenter);
    Command2 = button(Frame1, "Command2", T::deleteButton, QRect(w / 2 + 5, 120, w / 2 - 15, 34));
    Command4 = button(Frame1, "Command4", T::cancel, QRect(10, 120, w / 2 - 15, 34));
    connect(Command2, &QPushButton::clicked, this, &RecordsWindow::deleteExaminee);
    connect(Text3, &QLineEdit::returnPressed, this, &RecordsWindow::deleteExaminee);
    connect(Command4, &QPushButton::clicked, Frame1, &QWidget::hide);
    Frame1->hide();
}

void RecordsWindow::buildButtons()
{
    // One column right of the panels; the chart row keeps its left half for
    // one more button.
    const int x = 590, w = 200, h = 36, step = 42, half = w / 2 - 3;
    Command9 = button(this, "Command9", T::edit, QRect(x, 240, w, h));
    Command5 = button(this, "Command5", T::review, QRect(x, 240 + step, w, h));
    Command3 = button(this, "Command3", T::print, QRect(x + w - half, 240 + 2 * step, half, h));
    CommandExport = button(this, "CommandExport", T::exportList, QRect(x, 240 + 2 * step, half, h));
    CommandChart = button(this, "CommandChart", T::chart, QRect(x + w - half, 240 + 3 * step, half, h));
    Command1 = button(this, "Command1", T::deleteExaminee, QRect(x, 240 + 4 * step, w, h));
    Command6 = button(this, "Command6", T::exit, QRect(x, 462, w, h));
    connect(Command9, &QPushButton::clicked, this, &RecordsWindow::showEditPanel);
    connect(Command5, &QPushButton::clicked, this, &RecordsWindow::review);
    connect(Command3, &QPushButton::clicked, this, &RecordsWindow::print);
    connect(CommandExport, &QPushButton::clicked, this, &RecordsWindow::exportList);
    connect(CommandChart, &QPushButton::clicked, this, &RecordsWindow::chart);
    connect(Command1, &QPushButton::clicked, this, &RecordsWindow::showDeletePanel);
    connect(Command6, &QPushButton::clicked, this, &QWidget::close);
}

bool RecordsWindow::load(QString *error)
{
    // Every source starts keyed on no examinee (codes are never empty), which
    // reads next to nothing: Adodc3 is never used after opening, Adodc4 reads
    // the one answer row of a deletion when it comes, and Adodc2 reads the
    // list after the first paint (a search before that reads it itself).
    const bool opened = OpenRecordSources(
        { { Adodc1, Database::File::Theme, "Theme" }, { Adodc2, Database::File::Examinee, "IDE", "Code", QString() },
            { Adodc3, Database::File::Examinee, "IDE", "Code", QString() },
            { Adodc4, Database::File::Examinee, "Answer", "Code", QString() } },
        error);
    m_listPending = opened;
    return opened;
}

void RecordsWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_listPending)
        QTimer::singleShot(0, this, &RecordsWindow::readList);
}

void RecordsWindow::readList()
{
    if (!m_listPending)
        return;
    m_listPending = false;
    if (!Adodc2->isKeyed())
        return; // a search has read the table already
    Adodc2->refresh(); // a failure is shown as every failed read is
}

// One filter at a time: the other boxes are emptied without their change
// signals, so the grid shows what the box the user changed chose.
void RecordsWindow::search(QComboBox *box, const QString &field, const QString &text)
{
    if (m_searchingBox)
        return;
    // A search moves to other rows: an edit not yet stored is settled
    // first, or the box goes back to what it searched.
    if (!mayLeaveRow()) {
        const QSignalBlocker block(box);
        if (box->isEditable())
            box->setEditText(m_searchTexts.value(box));
        else
            box->setCurrentIndex(box->findText(m_searchTexts.value(box)));
        return;
    }
    m_searchingBox = box;
    for (QComboBox *other : { DataCombo1, DataCombo6, Combo3 }) {
        if (other == box)
            continue;
        const QSignalBlocker block(other);
        other->setCurrentIndex(-1);
        if (other->isEditable())
            other->clearEditText();
    }
    // Names typed on an Arabic layout, or with a half-space, still find the
    // stored spelling; the group stays an exact choice.
    if (box == Combo3)
        Adodc2->setFilter(field, text);
    else
        Adodc2->setFilter(field, text, &PersianInput::foldedName);
    m_searchTexts.clear();
    m_searchTexts.insert(box, text);
    m_searchingBox = nullptr;
}

// The name lists offer the visible rows' names; a box's own search leaves
// its list alone, so typing a name keeps offering every name.
void RecordsWindow::rowsChanged()
{
    const struct
    {
        QComboBox *box;
        DistinctValuesModel *model;
    } lists[] = { { DataCombo1, m_lastNames }, { DataCombo6, m_firstNames } };
    // Without a filter (review, cancel, after a delete) no box is searching.
    if (!Adodc2->hasFilter()) {
        m_searchTexts.clear();
        for (QComboBox *box : { DataCombo1, DataCombo6, Combo3 }) {
            const QSignalBlocker block(box);
            box->setCurrentIndex(-1);
            if (box->isEditable())
                box->clearEditText();
        }
    }
    for (const auto &l : lists) {
        if (l.box == m_searchingBox)
            continue;
        const QSignalBlocker block(l.box);
        const QString text = l.box->currentText();
        l.model->rebuild();
        l.box->setCurrentIndex(-1);
        l.box->setEditText(text);
    }
    LabelCount->setText(QString::number(Adodc2->rowCount()) + QStringLiteral(" ") + T::gridCaption);
    currentChanged();
}

void RecordsWindow::currentChanged()
{
    if (m_syncingGrid)
        return;
    const int row = Adodc2->currentRow();
    const QModelIndex current = DataGrid1->selectionModel()->currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    m_syncingGrid = true;
    if (row >= 0)
        DataGrid1->selectionModel()->setCurrentIndex(
            m_gridModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        DataGrid1->selectionModel()->clear();
    m_syncingGrid = false;
}

void RecordsWindow::gridRowChosen()
{
    // A reset of the grid drops its current index; that chooses no row.
    if (m_syncingGrid || !DataGrid1->selectionModel()->currentIndex().isValid())
        return;
    const int chosen = DataGrid1->selectionModel()->currentIndex().row();
    if (chosen == Adodc2->currentRow())
        return;
    if (!mayLeaveRow()) {
        currentChanged(); // the grid goes back to the row being edited
        return;
    }
    m_syncingGrid = true;
    Adodc2->setCurrentRow(chosen);
    m_syncingGrid = false;
    currentChanged();
}

// Leaving a row with an edit not yet stored asks first: save it, discard
// it, or stay on the row. False: stay.
bool RecordsWindow::mayLeaveRow()
{
    if (!Adodc2->hasPending())
        return true;
    const QString code = Adodc2->storedField(QStringLiteral("Code"));
    const QString fullName = (Adodc2->storedField(QStringLiteral("FName")) + QLatin1Char(' ')
        + Adodc2->storedField(QStringLiteral("LName")))
                                 .trimmed();
    switch (Dialogs::message(this, AppInfo::title(), T::pendingEdit(code, fullName),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, Dialogs::Icon::Question, QMessageBox::Save)) {
    case QMessageBox::Save:
        return saveEdit();
    case QMessageBox::Discard:
        Adodc2->cancelUpdate();
        return true;
    default:
        return false;
    }
}

void RecordsWindow::showEditPanel()
{
    Frame1->hide();
    Frame2->show();
}

void RecordsWindow::showDeletePanel()
{
    Frame2->hide();
    Frame1->show();
    Text3->setFocus();
}

void RecordsWindow::review()
{
    if (mayLeaveRow())
        Adodc2->refresh();
}

void RecordsWindow::datesChanged(bool typed)
{
    const ExamineeDates dates = ReadExamineeDates(TextTavalod->text(), TextEjra->text());
    LblAge->setText(dates.exactAgeText());
    if (!typed)
        return;
    const QString proposal = AgeListProposal(TextSen->text(), dates);
    if (!proposal.isEmpty())
        TextSen->setText(proposal);
}

// The registration panel's date rules: a wrong date stops the save with the
// panel as it was; an age that disagrees with the dates is asked about.
bool RecordsWindow::saveEdit()
{
    if (Adodc2->atStart())
        return true;
    // Blanks around a value are dropped, as registration drops them.
    for (QLineEdit *edit : { TextFName, TextLName, TextSen, TextGroup, TextTahsil, TextAzmayande }) {
        const QString trimmed = edit->text().trimmed();
        if (edit->text() != trimmed)
            edit->setText(trimmed);
    }
    const ExamineeDates dates = ReadExamineeDates(TextTavalod->text(), TextEjra->text());
    if (dates.fault != ExamineeDates::Fault::None) {
        ShowTimedNotice(this, DateTexts::notice(dates.fault));
        (dates.fault == ExamineeDates::Fault::TestDate ? TextEjra : TextTavalod)->setFocus();
        return false;
    }
    if (!AgeAgreesWithDates(TextSen->text(), dates)
        && Dialogs::message(this, AppInfo::title(), DateTexts::ageMismatch(TextSen->text(), dates),
               QMessageBox::Yes | QMessageBox::No, Dialogs::Icon::Question)
            != QMessageBox::Yes) {
        TextSen->setFocus();
        return false;
    }
    for (const auto &[edit, text] :
        { std::pair { TextTavalod, dates.birthDate }, std::pair { TextEjra, dates.testDate } }) {
        if (edit->text() != text)
            edit->setText(text);
    }
    if (Adodc2->field(QStringLiteral("AgeMonths")) != dates.ageMonthsText())
        Adodc2->setField(QStringLiteral("AgeMonths"), dates.ageMonthsText());
    QString error;
    if (!StoreExamineeEdit(*Adodc2, &error)) {
        Dialogs::message(this, T::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        return false;
    }
    return true;
}

void RecordsWindow::cancelEdit()
{
    Adodc2->refresh();
    Frame2->hide();
}

void RecordsWindow::deleteExaminee()
{
    const QString code = PersianInput::asciiDigits(Text3->text());
    if (code.isEmpty()) {
        ShowTimedNotice(this, T::enterNumber);
        return;
    }
    if (!mayLeaveRow())
        return;
    Adodc2->setFilter(QStringLiteral("code"), code);
    if (Adodc2->rowCount() == 0) {
        ShowTimedNotice(this, T::noSuchCode);
        Adodc2->refresh();
        return;
    }
    // The answer row as stored now, read alone: unread, it would be left
    // behind by the delete.
    QString readError;
    if (!Adodc4->refreshWhere(QStringLiteral("code"), code, &readError)) {
        Dialogs::message(this, T::errorTitle, readError, QMessageBox::Ok, Dialogs::Icon::Warning);
        Adodc2->clearFilter(); // the file is not readable now: the list as read
        return;
    }
    const QString fullName
        = (Adodc2->field(QStringLiteral("FName")) + QLatin1Char(' ') + Adodc2->field(QStringLiteral("LName")))
              .trimmed();
    if (Dialogs::message(this, AppInfo::title(), T::confirmDelete(code, fullName), QMessageBox::Yes | QMessageBox::No,
            Dialogs::Icon::None, QMessageBox::No)
        == QMessageBox::Yes) {
        QString error;
        if (!DeleteExamineeRows(*Adodc2, *Adodc4, &error)) {
            Dialogs::message(this, T::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
            return;
        }
        ShowTimedNotice(this, T::deleted);
    }
    // Adodc4 keeps what it read: its next use reads its row again.
    Adodc2->refresh();
}

void RecordsWindow::print()
{
    // The report shows only what is stored, with the clinic's profile as
    // saved now.
    if (!mayLeaveRow() || !Adodc1->refresh())
        return;
    static const ClinicValues none;
    FullReportClinic clinic = FullReportClinicFrom(*Adodc1, m_clinic ? *m_clinic : none);
    clinic.materials = ContentInUse::current().footerLine();
    PrintFullReport(this, *Adodc2, clinic);
}

// The rows the grid shows, as the full report prints them.
void RecordsWindow::exportList()
{
    if (!mayLeaveRow())
        return;
    const QString proposed = QDir::homePath() + QLatin1String("/Pelorin.xlsx");
    const QString path = Dialogs::saveFile(this, T::exportList, proposed, ExportFileFilter());
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)
        && Dialogs::message(this, AppInfo::title(), T::exportReplace, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
        return;
    QString error;
    if (!ExportRecords(*Adodc2, *Adodc4, path, &error)) {
        Dialogs::message(this, CommonTexts::errorTitle, T::exportFailed + QLatin1Char('\n') + error, QMessageBox::Ok,
            Dialogs::Icon::Warning);
        return;
    }
    ShowTimedNotice(this, T::exportDone);
}

// The rows the grid shows, as the full report prints them.
void RecordsWindow::chart()
{
    readList();
    ChartWindow::open(this, ChartOfShownRows(*Adodc2, Adodc1->field(QStringLiteral("Name")), shownRowsText()));
}

// Which rows the grid shows: those of the search in effect, or all.
QString RecordsWindow::shownRowsText() const
{
    if (!Adodc2->hasFilter())
        return IqChartTexts::allRows;
    const struct
    {
        const QComboBox *box;
        const QString &text;
    } searches[] = { { DataCombo1, IqChartTexts::byLastName }, { DataCombo6, IqChartTexts::byFirstName },
        { Combo3, IqChartTexts::byGroup } };
    for (const auto &s : searches) {
        if (!s.box->currentText().trimmed().isEmpty())
            return s.text.arg(s.box->currentText().trimmed());
    }
    return IqChartTexts::allRows;
}

void RecordsWindow::closeEvent(QCloseEvent *event)
{
    if (!mayLeaveRow()) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_mainWindow)
        m_mainWindow->show();
}
