#include "mainwindow/registration/RegistrationPanel.h"

#include "calendar/Clock.h"
#include "calendar/ExamineeAge.h"
#include "calendar/ShamsiCalendar.h"
#include "common/AccessibleName.h"
#include "common/Dialogs.h"
#include "data/AppInfo.h"
#include "data/BoundField.h"
#include "mainwindow/registration/Registration.h"
#include "mainwindow/registration/RegistrationPanelTexts.h"
#include "mainwindow/registration/RegistrationTexts.h"
#include "ui/CommonTexts.h"
#include "ui/DateTexts.h"
#include "ui/Fonts.h"
#include "ui/Style.h"
#include "ui/TimedNotice.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

namespace Text = RegistrationPanelTexts;

// &H00C0FFC0 and &H005B8051 (VB colours are BGR).
const QColor kFieldColour(192, 255, 192);
const QColor kPanelColour(81, 128, 91);

// Captions stand right of their field, in the gap up to the next field.
constexpr int kCaptionGapTw = 45;

} // namespace

RegistrationPanel::RegistrationPanel(
    QWidget *parent, RecordSource *Adodc1, RecordSource *Adodc2, RecordSource *Adodc3, RecordSource *Adodc5)
    : QFrame(parent)
    , m_Adodc1(Adodc1)
    , m_Adodc2(Adodc2)
    , m_Adodc3(Adodc3)
    , m_Adodc5(Adodc5)
{
    setObjectName(QStringLiteral("Frame1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kPanelColour);
    setPalette(pal);
    setStyleSheet(QStringLiteral("QLineEdit, QComboBox { background-color: %1; color: black;"
                                 " border: 1px solid rgb(60, 96, 68); padding: 0 3px; }"
                                 "QComboBox QAbstractItemView { background-color: %1; color: black; }"
                                 "QLabel { color: white; background: transparent; }")
                      .arg(kFieldColour.name()));

    Text2[2] = makeText(2, 4680, 585, 825, 390);
    Text2[0] = makeText(0, 2835, 540, 1500, 390);
    Text2[1] = makeText(1, 90, 495, 1545, 390);
    Combo1 = makeCombo("Combo1", 5130, 990, Text::sexes);
    Combo2 = makeCombo("Combo2", 3825, 990, Text::ages);
    Text2[3] = makeText(3, 1530, 1035, 1455, 390);
    Combo3 = makeCombo("Combo3", 135, 990, Text::groups);
    Text2[5] = makeText(5, 4230, 1620, 1365, 390);
    Text2[6] = makeText(6, 2070, 1620, 1365, 390);
    Text2[4] = makeText(4, 90, 1620, 1140, 390);

    makeCaption(Text::code, Text2[2], 7470);
    makeCaption(Text::firstName, Text2[0], 4680);
    makeCaption(Text::lastName, Text2[1], 2835);
    makeCaption(Text::sex, Combo1, 7470);
    makeCaption(Text::age, Combo2, 5130);
    makeCaption(Text::education, Text2[3], 3825);
    makeCaption(Text::group, Combo3, 1530);
    makeCaption(Text::birthDate, Text2[5], 7470);
    makeCaption(Text::examiner, Text2[6], 4230);
    makeCaption(Text::testDate, Text2[4], 2070);

    // The free row under the dates: it follows both date fields.
    LblAge = new QLabel(this);
    LblAge->setObjectName(QStringLiteral("LblAge"));
    LblAge->setGeometry(Twips::rect(4230, 2085, 1365, 390));
    LblAge->setFont(Fonts::nazanin(12, true));
    LblAge->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    makeCaption(DateTexts::exactAgeCaption, LblAge, 7470);
    for (QLineEdit *date : { Text2[4], Text2[5] })
        connect(date, &QLineEdit::textChanged, this, &RegistrationPanel::datesChanged);

    Command4 = new QPushButton(Text::save, this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setGeometry(Twips::rect(900, 2520, 1185, 465));
    Command5 = new QPushButton(Text::cancel, this);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setGeometry(Twips::rect(2790, 2520, 1185, 465));
    for (QPushButton *b : { Command4, Command5 }) {
        b->setFont(Fonts::nazanin(12, true));
        b->setStyleSheet(Style::pinkButtons());
    }
    connect(Command4, &QPushButton::clicked, this, &RegistrationPanel::save);
    connect(Command5, &QPushButton::clicked, this, &RegistrationPanel::cancel);

    const QWidget *order[] = { Text2[2], Text2[0], Text2[1], Combo1, Combo2, Text2[3], Combo3, Text2[5], Text2[6],
        Text2[4], Command4, Command5 };
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget *>(order[i]), const_cast<QWidget *>(order[i + 1]));

    Text25 = new QLineEdit(this);
    Text25->setObjectName(QStringLiteral("Text25"));
    Text25->hide();
    Text25->setFocusPolicy(Qt::NoFocus); // a hidden carrier, never typed into
    BoundField::bind(Text25, m_Adodc5, QStringLiteral("Code"));
}

QLineEdit *RegistrationPanel::makeText(int index, int left, int top, int width, int height)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Text2_%1").arg(index));
    edit->setGeometry(Twips::rect(left, top, width, height));
    edit->setFont(Fonts::nazanin(12, true));
    // Codes and dates read from the right like the names beside them.
    edit->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return edit;
}

QComboBox *RegistrationPanel::makeCombo(const char *name, int left, int top, const QStringList &items)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(QLatin1String(name));
    combo->setGeometry(Twips::rect(left, top, 915, 510));
    combo->setFont(Fonts::nazanin(12, true));
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

void RegistrationPanel::makeCaption(const QString &text, QWidget *field, int right)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("Caption_%1").arg(field->objectName()));
    label->setFont(Fonts::nazanin(11, true));
    // Next to its own field, the free space on the far side.
    label->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    const int left = field->geometry().right() + 1 + Twips::px(kCaptionGapTw);
    label->setGeometry(left, field->y(), qMax(0, Twips::px(right) - left), field->height());
    NameAfterCaption(label, field);
}

void RegistrationPanel::windowLoaded() { }

void RegistrationPanel::datesChanged()
{
    const ExamineeDates dates = ReadExamineeDates(Text2[5]->text(), Text2[4]->text());
    LblAge->setText(dates.exactAgeText());
    const QString proposal = AgeListProposal(Combo2->currentText(), dates);
    if (!proposal.isEmpty())
        Combo2->setCurrentText(proposal);
}

void RegistrationPanel::opened()
{
    const QString today = ShamsiDate(Clock::now(), 0);
    Text2[4]->setText(today);
    Text2[5]->setText(today);
    Text2[0]->setFocus();
    const QString proposal = SuggestNextCode(m_Adodc5);
    if (!proposal.isEmpty())
        Text2[2]->setText(proposal);
}

RegistrationForm RegistrationPanel::form() const
{
    RegistrationForm f;
    f.code = Text2[2]->text();
    f.firstName = Text2[0]->text();
    f.lastName = Text2[1]->text();
    f.sex = Combo1->currentText();
    f.age = Combo2->currentText();
    f.education = Text2[3]->text();
    f.group = Combo3->currentText();
    f.birthDate = Text2[5]->text();
    f.examiner = Text2[6]->text();
    f.testDate = Text2[4]->text();
    return f;
}

QWidget *RegistrationPanel::fieldWidget(RegistrationForm::Field field) const
{
    using F = RegistrationForm::Field;
    switch (field) {
    case F::Code:
        return Text2[2];
    case F::FirstName:
        return Text2[0];
    case F::LastName:
        return Text2[1];
    case F::Sex:
        return Combo1;
    case F::Age:
        return Combo2;
    case F::Education:
        return Text2[3];
    case F::Group:
        return Combo3;
    case F::BirthDate:
        return Text2[5];
    case F::Examiner:
        return Text2[6];
    case F::TestDate:
        return Text2[4];
    }
    return nullptr;
}

void RegistrationPanel::save()
{
    const RegistrationForm f = form();
    if (const auto failed = FirstFailedCheck(f)) {
        ShowTimedNotice(window(), failed->message);
        fieldWidget(failed->field)->setFocus();
        return;
    }
    const ExamineeDates dates = ReadExamineeDates(f.birthDate, f.testDate);
    if (!AgeAgreesWithDates(f.age, dates)
        && Dialogs::message(window(), AppInfo::title(), DateTexts::ageMismatch(f.age, dates),
               QMessageBox::Yes | QMessageBox::No, Dialogs::Icon::Question)
            != QMessageBox::Yes) {
        Combo2->setFocus();
        return;
    }
    QString error;
    switch (SaveRegistration(f, m_Adodc1, m_Adodc2, m_Adodc3, &error)) {
    case SaveOutcome::Duplicate:
        ShowTimedNotice(window(), RegistrationTexts::duplicateCode);
        return;
    case SaveOutcome::Failed:
        Dialogs::message(window(), CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        return;
    case SaveOutcome::Saved:
        Q_EMIT closed();
        return;
    }
}

void RegistrationPanel::cancel()
{
    Q_EMIT closed();
}
