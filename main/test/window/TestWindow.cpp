#include "test/window/TestWindow.h"

#include "calendar/Clock.h"
#include "calendar/ShamsiCalendar.h"
#include "common/Dialogs.h"
#include "common/LeadingNumber.h"
#include "data/AnswerRow.h"
#include "data/AppInfo.h"
#include "data/AppPaths.h"
#include "data/BoundField.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "data/Transaction.h"
#include "report/NormalCurveView.h"
#include "test/content/TestContent.h"
#include "test/scoring/ItemCounter.h"
#include "test/scoring/ResultCurve.h"
#include "test/sheet/ScoringSheet.h"
#include "test/window/ChildLock.h"
#include "test/window/HotSpot.h"
#include "test/window/ItemPictures.h"
#include "test/window/TestWindowTexts.h"
#include "ui/CommonTexts.h"
#include "ui/FitLabel.h"
#include "ui/FixedWindow.h"
#include "ui/Fonts.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kItems = ItemCounter::kItems;
constexpr int kNameDisplay = 39;
const QString kCode = QStringLiteral("code");

const QColor kGridColour(185, 185, 185);
const QColor kCellColour(163, 188, 176);
const QColor kPanelColour(81, 128, 91);

QString colourStyle(const QColor &c)
{
    return QStringLiteral("background-color: %1;").arg(c.name());
}

QString fieldOfItem(int item)
{
    return QString::number(item);
}

} // namespace

TestWindow::TestWindow(QWidget *mainWindow, ClinicValues *clinic)
    : QWidget(nullptr, Qt::Window)
    , m_mainWindow(mainWindow)
    , m_clinic(clinic)
{
    SetUpFixedWindow(this, "Frm1", AppInfo::title(), 12855, 8175);
    setFont(Fonts::nazanin(12, true));

    int number = 0;
    for (RecordSource **s : { &Adodc1, &Adodc2, &Adodc3, &Adodc4, &Adodc5 }) {
        *s = new RecordSource(this);
        (*s)->setObjectName(QStringLiteral("Adodc%1").arg(++number));
    }

    Lblkey = new QLabel(this);
    Lblkey->setObjectName(QStringLiteral("Lblkey"));
    Lblkey->hide();
    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->hide();
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    Text1->setFocusPolicy(Qt::NoFocus); // a hidden counter, never typed into

    buildItems();
    buildGrid();
    buildResultPanel();
    buildButtons();
    bindHidden();
    m_childLock = new ChildLock(this, QList<QWidget *>(Pic1.cbegin(), Pic1.cend()));
}

TestWindow::~TestWindow() = default;

void TestWindow::buildItems()
{
    for (int i = 0; i <= kItems; ++i) {
        auto *pic = new QLabel(this);
        pic->setObjectName(QStringLiteral("Pic1_%1").arg(i));
        pic->hide();
        Pic1[size_t(i)] = pic;
        for (int k = 1; k <= 6; ++k) {
            auto *spot = new HotSpot(pic);
            spot->setObjectName(QStringLiteral("Lbl%1_%2").arg(k).arg(i));
            // Read out by the number drawn beside the option.
            spot->setAccessibleName(QString::number(k));
            Lbl[size_t(k - 1)][size_t(i)] = spot;
            if (i > 0) {
                connect(spot, &HotSpot::clicked, this, [this, i, k] {
                    m_pointerClick = true;
                    RecordAnswer(i, k);
                    m_pointerClick = false;
                });
            }
        }
    }
}

void TestWindow::buildGrid()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(Twips::rect(10275, 315, 2415, 7035));
    Frame1->setStyleSheet(QStringLiteral("QFrame#Frame1 { %1 border: 1px solid rgb(120, 120, 120); }"
                                         "QLabel { %2 color: black; }")
                              .arg(colourStyle(kGridColour), colourStyle(kCellColour)));
    const QFont cellFont = Fonts::arial(10, true);
    for (int i = 0; i <= kItems; ++i) {
        const int column = i <= 18 ? 0 : 1;
        const int row = i == 0 ? 0 : (i - 1) % 18;
        const int top = 300 + 360 * row;
        auto *number = new QLabel(QString::number(i), Frame1);
        number->setObjectName(QStringLiteral("LblNscore_%1").arg(i));
        number->setGeometry(Twips::rect(column ? 1320 : 180, top, 255, 315));
        auto *slot = new QLabel(Frame1);
        slot->setObjectName(QStringLiteral("Lblscore_%1").arg(i));
        slot->setGeometry(Twips::rect(column ? 1620 : 480, top, 675, 315));
        for (QLabel *l : { number, slot }) {
            l->setAlignment(Qt::AlignCenter);
            l->setFont(cellFont);
        }
        if (i == 0) {
            number->hide();
            slot->hide();
        } else {
            BoundField::bind(slot, Adodc2, fieldOfItem(i));
        }
        LblNscore[size_t(i)] = number;
        Lblscore[size_t(i)] = slot;
    }

    // The name display: white, centred, over the button strip. From left
    // 1530 only 810 twips stay free before the previous button, too narrow
    // for ordinary names, so it takes the whole strip left of that button.
    auto *name = new QLabel(this);
    name->setObjectName(QStringLiteral("Lblscore_39"));
    name->setGeometry(Twips::rect(330, 7290, 1995, 885));
    name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    name->setWordWrap(true);
    name->setFont(Fonts::nazanin(11, true));
    name->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Lblscore[kNameDisplay] = name;
}

void TestWindow::buildResultPanel()
{
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setStyleSheet(QStringLiteral("QFrame#Frame2 { %1 border: 1px solid rgb(40, 70, 48); }"
                                         "QLabel { color: white; background: transparent; }"
                                         "QLabel[value=\"true\"] { %2 color: black; }"
                                         "QLabel#LblN2 { border: 1px solid black; }")
                              .arg(colourStyle(kPanelColour), colourStyle(kCellColour)));
    Frame2->hide();

    auto label = [this](const char *name, const QString &text, int l, int t, int w, int h, bool value) {
        auto *lbl = new QLabel(text, Frame2);
        lbl->setObjectName(QLatin1String(name));
        lbl->setGeometry(Twips::rect(l, t, w, h));
        lbl->setAlignment(Qt::AlignCenter);
        lbl->setProperty("value", value);
        return lbl;
    };
    LblN2 = label("LblN2", QString(), 630, 675, 6255, 405, true);
    // Each caption stands to the right of its value, as a right-to-left
    // reader pairs them; every pair keeps its place in the panel.
    label("Label2_0", TestWindowTexts::rawScore, 1560, 1305, 735, 390, false);
    Lblkham = label("Lblkham", QString(), 510, 1305, 945, 405, true);
    label("Label2_1", TestWindowTexts::percentile, 3390, 1305, 1065, 390, false);
    lbldarsad = label("lbldarsad", QString(), 2400, 1305, 945, 405, true);
    label("Label2_2", TestWindowTexts::iq, 5670, 1305, 765, 390, false);
    // The invalid-result text is far wider than a number: it wraps and
    // shrinks to stay whole in the box.
    auto *iq = new FitLabel(Frame2);
    Lblhoosh = iq;
    iq->setObjectName(QStringLiteral("Lblhoosh"));
    iq->setGeometry(Twips::rect(4665, 1305, 945, 405));
    iq->setAlignment(Qt::AlignCenter);
    iq->setProperty("value", true);
    // The result on the normal curve, in the panel's free corner beside the buttons.
    ChartIq = new NormalCurveView(Frame2);
    ChartIq->setObjectName(QStringLiteral("ChartIq"));
    ChartIq->setGeometry(Twips::rect(4920, 1740, 2445, 1410));
    BoundField::bind(lbldarsad, Adodc1, QStringLiteral("RDarsadi"));
    BoundField::bind(Lblhoosh, Adodc1, QStringLiteral("Hooshbahr"));
    for (QLabel *l : Frame2->findChildren<QLabel *>())
        l->setFont(Fonts::nazanin(l == LblN2 ? 12 : 11, true));

    Command5 = new QPushButton(TestWindowTexts::exit, Frame2);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setGeometry(Twips::rect(225, 2520, 2085, 495));
    Command8 = new QPushButton(TestWindowTexts::print, Frame2);
    Command8->setObjectName(QStringLiteral("Command8"));
    Command8->setGeometry(Twips::rect(2745, 2520, 2085, 495));
    for (QPushButton *b : { Command5, Command8 })
        b->setFont(Fonts::nazanin(12, true));
    connect(Command5, &QPushButton::clicked, this, &TestWindow::closeResultPanel);
    connect(Command8, &QPushButton::clicked, this, &TestWindow::PrintScoringSheet);
}

void TestWindow::buildButtons()
{
    const struct
    {
        QPushButton **button;
        const char *name;
        QString caption;
        QRect twips;
        bool visible;
        void (TestWindow::*operation)();
    } buttons[] = {
        { &Command7, "Command7", TestWindowTexts::start, { 3510, 7650, 1275, 495 }, true, &TestWindow::StartTest },
        { &Command2, "Command2", TestWindowTexts::previous, { 2340, 7200, 1290, 480 }, false,
            &TestWindow::previousClicked },
        { &Command1, "Command1", TestWindowTexts::next, { 4860, 7200, 1275, 495 }, false, &TestWindow::nextClicked },
        { &Command4, "Command4", TestWindowTexts::result, { 6930, 7200, 1275, 495 }, true, &TestWindow::ScoreTest },
        { &Command6, "Command6", TestWindowTexts::exit, { 8415, 7200, 1275, 495 }, true, nullptr },
    };
    for (const auto &b : buttons) {
        auto *button = new QPushButton(b.caption, this);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(Twips::rect(b.twips));
        button->setVisible(b.visible);
        button->setFont(Fonts::nazanin(12, true));
        if (b.operation)
            connect(button, &QPushButton::clicked, this, b.operation);
        *b.button = button;
    }
    connect(Command6, &QPushButton::clicked, this, &TestWindow::exitWindow);
    setStyleSheet(Style::pinkButtons()
        + QStringLiteral("QLineEdit#Txt1 { background-color: white; color: black; border: 1px solid %1; }")
              .arg(Style::fieldBorder.name()));

    Txt1 = new QLineEdit(this);
    Txt1->setObjectName(QStringLiteral("Txt1"));
    Txt1->setGeometry(Twips::rect(3975, 7110, 555, 495));
    Txt1->setAlignment(Qt::AlignCenter);
    Txt1->setAccessibleName(TestWindowTexts::itemNumber);
    Txt1->setFont(Fonts::arial(12, true));
    Txt1->hide();
    connect(Txt1, &QLineEdit::textChanged, this, &TestWindow::ShowItem);
}

QLabel *TestWindow::hiddenLabel(const QString &name, RecordSource *source, const QString &field)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->hide();
    BoundField::bind(label, source, field);
    return label;
}

void TestWindow::bindHidden()
{
    const struct
    {
        QLabel **label;
        const char *name;
        RecordSource *source;
        const char *field;
    } bound[] = {
        { &Text2, "Text2", Adodc1, "Sen" },
        { &Lblfn, "Lblfn", Adodc1, "FName" },
        { &Lbln, "Lbln", Adodc1, "LName" },
        { &Lblkham2, "Lblkham2", Adodc1, "NKham" },
        { &Label8, "Label8", Adodc1, "FName" },
        { &Label9, "Label9", Adodc1, "LName" },
        { &Label6, "Label6", Adodc1, "Sen" },
        { &Label5, "Label5", Adodc1, "DateTavalod" },
        { &Label4, "Label4", Adodc1, "Azmayande" },
        { &Label3, "Label3", Adodc1, "DateEjra" },
        { &Label1, "Label1", Adodc1, "Tahsil" },
        { &Text4, "Text4", Adodc4, "Name" },
        { &Text6, "Text6", Adodc4, "Adress" },
    };
    for (const auto &b : bound)
        *b.label = hiddenLabel(QLatin1String(b.name), b.source, QLatin1String(b.field));
    const char *norms[] = { "Lbll5", "Lbll6", "Lbl7", "Lbl8", "Lbl9", "Lbl10" };
    for (int age = 5; age <= 10; ++age) {
        hiddenLabel(QLatin1String(norms[age - 5]), Adodc3, QString::number(age));
        hiddenLabel(QStringLiteral("Lblp%1").arg(age), Adodc3, QStringLiteral("%1p").arg(age));
    }
    // The name display and the classification follow the examinee's row.
    connect(Adodc1, &RecordSource::currentChanged, this, &TestWindow::examineeChanged);
}

void TestWindow::setExamineeCode(const QString &code)
{
    Adodc2->setFilter(QStringLiteral("code"), code);
    Lblkey->setText(code);
}

bool TestWindow::load(QString *error)
{
    return load(Lblkey->text(), error);
}

bool TestWindow::load(const QString &code, QString *error)
{
    // The window serves one examinee: its sources over the large tables
    // read that examinee's rows alone.
    const char *byCode = "Code";
    if (!OpenRecordSources({ { Adodc1, Database::File::Examinee, "IDE", byCode, code },
                               { Adodc2, Database::File::Examinee, "Answer", byCode, code },
                               { Adodc3, Database::File::Examinee, "PPP" }, { Adodc4, Database::File::Theme, "Theme" },
                               { Adodc5, Database::File::Examinee, "Answer", byCode, code } },
            error))
        return false;
    // An examinee without an Answer row gets one, or no answer would be kept.
    if (Adodc1->rowCount() != 0 && Adodc2->rowCount() == 0) {
        if (!EnsureAnswerRow(*Adodc2, code, error) || !Adodc5->refreshWhere(QString::fromLatin1(byCode), code, error))
            return false;
    }

    // A clinic's installed pack, else the bundled set.
    const ContentInUse use = ContentInUse::current();
    TestContent content;
    if (!content.load(use.dir, error))
        return false;
    m_content = content;
    m_contentInUse = use;
    const QVector<int> key = content.answerKey();
    for (int i = 0; i < kItems; ++i)
        m_key[size_t(i)] = key.value(i);
    // A pack may leave the window art to the bundled set.
    QString backgroundPath = content.artPath(QStringLiteral("test_background"));
    if (!QFileInfo::exists(backgroundPath))
        backgroundPath = QDir(AppPaths::contentDir()).filePath(QStringLiteral("art/test_background.png"));
    const QPixmap background(backgroundPath, "PNG");
    if (!background.isNull()) {
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, background.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        setPalette(pal);
        setAutoFillBackground(true);
    }

    {
        const QSignalBlocker quiet(Txt1); // "0" is the counter's resting text, no item yet
        Txt1->setText(QStringLiteral("0"));
    }
    for (int i = 0; i <= kItems; ++i) {
        QLabel *pic = Pic1[size_t(i)];
        pic->setGeometry(Twips::rect(520, 240, 9495, 6315));
        pic->hide();
        if (i == 0)
            continue;
        const TestItem &item = content.items().at(i - 1);
        for (int k = 0; k < 6; ++k) {
            HotSpot *spot = Lbl[size_t(k)][size_t(i)];
            spot->setGeometry(Twips::rect(item.options[size_t(k)]));
            spot->setCursor(Qt::PointingHandCursor);
        }
    }
    m_items = content.items();
    Frame2->setGeometry(Twips::rect(2250, 1260, 7440, 3210));
    m_loaded = true;
    return true;
}

// An item's picture is read when it is first needed; after the window is
// shown the others are read one per turn of the event loop, so no click
// waits for a decoder.
void TestWindow::ensurePicture(int item)
{
    QLabel *pic = Pic1[size_t(item)];
    if (item < 1 || item > m_items.size() || !pic->pixmap().isNull())
        return;
    pic->setPixmap(ItemPictures::picture(m_items.at(item - 1), devicePixelRatioF()));
}

void TestWindow::readNextPicture()
{
    while (m_nextPicture <= kItems && !Pic1[size_t(m_nextPicture)]->pixmap().isNull())
        ++m_nextPicture;
    if (m_nextPicture > kItems || m_nextPicture > m_items.size())
        return;
    ensurePicture(m_nextPicture++);
    QTimer::singleShot(0, this, &TestWindow::readNextPicture);
}

void TestWindow::activate()
{
    // A child-mode test is not restarted from under the child: raising the
    // window over its backdrop activates it, and that brings no "شروع".
    if (!m_childLock->active())
        Command7->show();
    Command4->show();
    const QString code = Lblkey->text();
    Adodc1->setFilter(kCode, code);
    Adodc2->setFilter(kCode, code);
    Adodc5->setFilter(kCode, code);
}

void TestWindow::examineeChanged()
{
    Lblscore[kNameDisplay]->setText(Lblfn->text() + QLatin1Char(' ') + Lbln->text());
    // ClassifyIq runs when the bound IQ takes a new text. What it puts into
    // the label (the invalid-result text for an examinee not yet scored) is
    // shown only; the row is written by ScoreTest alone.
    if (m_classifiedIq && Lblhoosh->text() == *m_classifiedIq)
        return;
    ScoreChain chain(Adodc3);
    chain.setState(Lblhoosh->text(), lbldarsad->text(), LblN2->text());
    chain.classifyIq();
    m_classifiedIq = chain.iq();
    Lblhoosh->setText(chain.iq());
    LblN2->setText(chain.classification());
    showCurve();
}

QStringList TestWindow::slotTexts() const
{
    QStringList texts;
    for (int i = 1; i <= kItems; ++i)
        texts << Lblscore[size_t(i)]->text();
    return texts;
}

void TestWindow::setSlot(int item, const QString &text)
{
    if (item >= 1 && !Adodc2->atStart())
        Adodc2->setField(fieldOfItem(item), text); // the bound slot follows
    else
        Lblscore[size_t(item)]->setText(text);
}

bool TestWindow::storeAnswers(const std::optional<AnswerLog::Click> &click)
{
    QString error;
    const QString code = Adodc2->field(kCode);
    bool updated = false;
    bool ok = false;
    // Once scored, the stored result follows every changed answer in the
    // same transaction, so the panel, IDE and the sheet never disagree
    // with the answers.
    std::optional<ScoreChain> rescored;
    if (m_scored && Adodc2->hasPending()) {
        rescored = computeResult();
        setResultFields(*rescored);
    }
    {
        // The log row and the answer go together or not at all, so the last
        // logged choice of an item is always the one Answer holds.
        Transaction transaction(Database::File::Examinee);
        if (!transaction.isActive())
            error = transaction.error();
        else
            ok = (!click || AnswerLog::append(Database::connection(Database::File::Examinee), code, *click, &error))
                && (updated = Adodc2->update(&error)) && (!rescored || Adodc1->update(&error))
                && transaction.commit(&error);
    }
    if (ok) {
        if (rescored)
            showResult(*rescored);
        return true;
    }
    if (rescored)
        Adodc1->cancelUpdate();
    // The grid must show only what is stored: the click is not kept, the
    // item stays, and the examiner learns why.
    if (updated)
        Adodc2->refreshWhere(kCode, code); // written, then rolled back
    else
        Adodc2->cancelUpdate();
    Dialogs::message(this, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
    return false;
}

void TestWindow::RecordAnswer(int item, int option)
{
    if (item != m_visibleItem || !m_guard.accepts())
        return;
    // In child mode only a press and release on the option answers.
    if (m_childLock->active() && !m_pointerClick)
        return;
    const AnswerLog::Click click { item, option, m_guard.shownMs(), Clock::now() };
    setSlot(item, QString::number(option));
    applyStep(ItemCounter::next(Txt1->text()), click);
}

void TestWindow::ShowItem()
{
    const ItemCounter::Display d = ItemCounter::display(Txt1->text());
    if (m_visibleItem)
        Pic1[size_t(m_visibleItem)]->hide();
    m_visibleItem = 0;
    if (d.rewrite) {
        Txt1->setText(*d.rewrite);
        return;
    }
    if (d.item) {
        m_visibleItem = d.item;
        ensurePicture(d.item);
        Pic1[size_t(d.item)]->show();
        if (Frame2->isVisible())
            Frame2->raise();
        m_guard.itemShown();
    }
}

void TestWindow::NextItem()
{
    applyStep(ItemCounter::next(Txt1->text()));
}

// A double click on next or previous would move twice and pass over an
// item the child never saw: the guard drops the second click.
void TestWindow::nextClicked()
{
    if (m_guard.accepts())
        NextItem();
}

void TestWindow::previousClicked()
{
    if (m_guard.accepts())
        PreviousItem();
}

void TestWindow::PreviousItem()
{
    applyStep(ItemCounter::previous(Txt1->text()));
}

void TestWindow::applyStep(const ItemCounter::Step &step, const std::optional<AnswerLog::Click> &click)
{
    if (step.store && !storeAnswers(click))
        return;
    if (step.counter)
        Txt1->setText(*step.counter);
}

bool TestWindow::childModeSet() const
{
    return LenientNumber(Adodc4->field(QStringLiteral("ChildMode"))) != 0;
}

void TestWindow::setChildMode(bool on)
{
    for (const auto &option : Lbl) {
        for (HotSpot *spot : option)
            spot->setChildMode(on);
    }
    if (on)
        m_childLock->begin();
    else
        m_childLock->end();
}

void TestWindow::exitWindow()
{
    setChildMode(false);
    close();
}

void TestWindow::StartTest()
{
    if (childModeSet())
        setChildMode(true);
    Command1->show();
    Command2->show();
    Command7->hide();
    Txt1->show();
    Txt1->setText(QStringLiteral("1"));
    FillEmptyAnswers();
}

void TestWindow::FillEmptyAnswers()
{
    for (int i = 0; i <= kItems; ++i) {
        if (Lblscore[size_t(i)]->text().isEmpty())
            setSlot(i, QStringLiteral("0"));
    }
}

void TestWindow::ScoreTest()
{
    setChildMode(false);
    FillEmptyAnswers();
    Command1->hide();
    Command2->hide();
    Frame2->show();
    Frame2->raise();

    const ScoreChain chain = computeResult();
    setResultFields(chain);
    QString error;
    const bool stored = Adodc1->update(&error);
    m_scored = true;
    showResult(chain);
    if (!stored)
        Dialogs::message(this, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
}

// The whole chain of counts and lookups runs on plain values; the final
// texts are shown and stored once.
ScoreChain TestWindow::computeResult()
{
    ScoreChain chain(Adodc3);
    chain.setState(Lblhoosh->text(), lbldarsad->text(), LblN2->text());
    chain.count(slotTexts(), m_key, Text2->text());
    return chain;
}

void TestWindow::setResultFields(const ScoreChain &chain)
{
    m_classifiedIq = chain.iq();
    Adodc1->setField(QStringLiteral("NKham"), chain.rawScore());
    Adodc1->setField(QStringLiteral("Hooshbahr"), chain.iq());
    Adodc1->setField(QStringLiteral("RDarsadi"), chain.percentile());
}

void TestWindow::showResult(const ScoreChain &chain)
{
    Text1->setText(chain.rawScore());
    Lblkham->setText(chain.rawScore());
    Lblkham2->setText(chain.rawScore());
    Lblhoosh->setText(chain.iq());
    lbldarsad->setText(chain.percentile());
    LblN2->setText(chain.classification());
    showCurve();
}

void TestWindow::closeResultPanel()
{
    Frame2->hide();
}

void TestWindow::PrintScoringSheet()
{
    Frame2->hide();
    ScoringSheet sheet;
    sheet.code = Lblkey->text();
    ReadStoredAnswers(Adodc5, sheet.code, &sheet);
    sheet.firstName = Label8->text();
    sheet.lastName = Label9->text();
    sheet.age = Label6->text();
    bool hasMonths = false;
    const int months = Adodc1->field(QStringLiteral("AgeMonths")).toInt(&hasMonths);
    if (hasMonths && months >= 0)
        sheet.exactAge = ExactAgeText(months);
    sheet.birthDate = Label5->text();
    sheet.examiner = Label4->text();
    sheet.testDate = Label3->text();
    sheet.education = Label1->text();
    sheet.clinicName = Text4->text();
    sheet.clinicAddress = Text6->text();
    sheet.iq = Lblhoosh->text();
    sheet.classification = LblN2->text();
    sheet.curve = ChartIq->picture();
    sheet.analysis = AnalyseItems(
        sheet.answers, m_key, AnswerLog::read(Database::connection(Database::File::Examinee), sheet.code));
    sheet.answerFormPath = m_content.answerFormPath();
    sheet.materials = m_contentInUse.footerLine();
    if (m_clinic)
        sheet.clinic = *m_clinic;
    Label7->setText(ScoringSheetFullName(sheet));
    ::PrintScoringSheet(this, sheet);
    Command7->show();
}

bool TestWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Paint && m_loaded && !m_picturesStarted) {
        m_picturesStarted = true;
        QTimer::singleShot(0, this, &TestWindow::readNextPicture);
    }
    return QWidget::event(event);
}

void TestWindow::showCurve()
{
    const int age = int(LenientInteger(Label6->text()));
    ChartIq->setPicture(ResultCurve(Lblhoosh->text(), lbldarsad->text(), Lblkham->text(), m_content.reliability(age)));
}

void TestWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_loaded)
        activate();
    QWidget::changeEvent(event);
}

void TestWindow::closeEvent(QCloseEvent *event)
{
    // The close box and Alt+F4 do not end a test in child mode; "خروج" does.
    if (m_childLock->active()) {
        event->ignore();
        return;
    }
    Txt1->hide();
    // Zeros that FillEmptyAnswers left pending go with the row.
    if (Adodc2->hasPending())
        Adodc2->update();
    if (m_mainWindow)
        m_mainWindow->show();
    event->accept();
}
