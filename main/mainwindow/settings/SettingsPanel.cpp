#include "mainwindow/settings/SettingsPanel.h"

#include "common/AccessibleName.h"
#include "common/Dialogs.h"
#include "data/AppPaths.h"
#include "data/BoundField.h"
#include "data/RecordSource.h"
#include "mainwindow/settings/ClinicProfile.h"
#include "mainwindow/settings/SettingsPanelTexts.h"
#include "ui/ClinicValues.h"
#include "ui/CommonTexts.h"
#include "ui/Fonts.h"
#include "ui/TimedNotice.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

namespace Text = SettingsPanelTexts;

// The captions are written colon first, for a left-to-right line: the
// colon stands between the word and its box. A plain label would read them
// right to left, as their first letter is Persian.
class CaptionLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setLayoutDirection(Qt::LeftToRight);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), int(alignment()), text());
    }
};

constexpr int kBoxLeft = 1050;
constexpr int kBoxWidth = 4440;
constexpr int kBoxHeight = 330;
constexpr int kLabelLeft = 5520;
constexpr int kLabelWidth = 1080;

} // namespace

SettingsPanel::SettingsPanel(QWidget *parent, RecordSource *Adodc4, ClinicValues *clinic)
    : QFrame(parent)
    , m_theme(Adodc4)
    , m_clinic(clinic)
{
    setObjectName(QStringLiteral("Frame9"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(81, 128, 91));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    struct Row
    {
        QLineEdit **box;
        const char *name;
        const QString &caption;
        const char *field;
        int top;
    };
    const Row rows[] = {
        { &Text31, "Text31", Text::nameLabel, "Name", 300 },
        { &Text30, "Text30", Text::addressLabel, "Adress", 720 },
        { &Text24, "Text24", Text::mailLabel, "T1", 1170 },
        { &Text29, "Text29", Text::telegramLabel, "T2", 1580 },
        { &Text2_7, "Text2(7)", Text::instagramLabel, "T3", 2025 },
        { &Text14, "Text14", Text::siteLabel, "T4", 2435 },
        { &Text27, "Text27", Text::twitterLabel, "T5", 2880 },
        { &Text28, "Text28", Text::phoneLabel, "T6", 3300 },
    };
    const QFont boxFont = Fonts::nazanin(10, true);
    for (const Row &r : rows) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(r.name));
        box->setFont(boxFont);
        box->setLayoutDirection(Qt::RightToLeft);
        const bool phone = box->objectName() == QLatin1String("Text28");
        box->setGeometry(Twips::rect(phone ? 1830 : kBoxLeft, r.top, phone ? 3645 : kBoxWidth, kBoxHeight));
        if (m_theme)
            BoundField::bind(box, m_theme, QString::fromLatin1(r.field));
        *r.box = box;
        auto *label = new CaptionLabel(r.caption, this);
        label->setFont(boxFont);
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        label->setGeometry(Twips::rect(kLabelLeft, r.top, kLabelWidth, kBoxHeight));
        NameAfterCaption(label, box);
    }

    Check1 = new QCheckBox(ClinicProfile::showLogoCaption(false), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setFont(boxFont);
    Check1->setLayoutDirection(Qt::RightToLeft);
    Check1->setGeometry(Twips::rect(1875, 4245, 2730, 315));
    if (m_theme)
        BoundField::bind(Check1, m_theme, QStringLiteral("Check1"));
    // The printouts read the flag at print time, so it follows the box.
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) {
        if (m_clinic)
            m_clinic->showLogo = on;
    });
    connect(Check1, &QCheckBox::clicked, this, &SettingsPanel::toggleShowLogo);

    // Stored at once, like the logo switch: the next test window reads it.
    CheckChild = new QCheckBox(Text::childMode, this);
    CheckChild->setObjectName(QStringLiteral("CheckChild"));
    CheckChild->setFont(boxFont);
    CheckChild->setLayoutDirection(Qt::RightToLeft);
    CheckChild->setGeometry(Twips::rect(4755, 4245, 1500, 315));
    if (m_theme)
        BoundField::bind(CheckChild, m_theme, QStringLiteral("ChildMode"));
    connect(CheckChild, &QCheckBox::clicked, this, &SettingsPanel::storeProfile);

    const QFont buttonFont = Fonts::nazanin(11.25, true);
    auto button = [&](const char *name, const QString &caption, int left, int width) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(buttonFont);
        b->setGeometry(Twips::rect(left, 3750, width, 495));
        return b;
    };
    Cmdlogo = button("Cmdlogo", Text::logoButton, 1920, 1275);
    Command64 = button("Command64", Text::saveButton, 3300, 855);
    Command8 = button("Command8", Text::closeButton, 4305, 855);
    connect(Cmdlogo, &QPushButton::clicked, this, &SettingsPanel::pickLogo);
    connect(Command64, &QPushButton::clicked, this, &SettingsPanel::save);
    connect(Command8, &QPushButton::clicked, this, &SettingsPanel::closed);
    // The clinic's own items and norms, in a window of their own.
    CmdContent = button("CmdContent", Text::contentButton, 5265, 1215);
    connect(CmdContent, &QPushButton::clicked, this, &SettingsPanel::contentRequested);

    auto picture = [&](const char *name, const QRect &twips) {
        auto *p = new QLabel(this);
        p->setObjectName(QString::fromLatin1(name));
        p->setAlignment(Qt::AlignCenter);
        p->setGeometry(Twips::rect(twips));
        return p;
    };
    Image2 = picture("Image2", QRect(180, 1260, 600, 705));
    Image1 = picture("Image1", QRect(240, 3285, 1395, 1230));

    Txtmosh = new QPlainTextEdit(this);
    Txtmosh->setObjectName(QStringLiteral("Txtmosh"));
    Txtmosh->hide();
    Txtmosh->setFocusPolicy(Qt::NoFocus); // a hidden carrier, never typed into
}

void SettingsPanel::windowLoaded()
{
    BuildClinicSummary();
}

void SettingsPanel::opened()
{
    Text31->setFocus();
}

void SettingsPanel::windowActivated()
{
    // The logo is kept in memory; the file is read again only when it has
    // changed since. A missing or unreadable file leaves the place empty.
    if (!m_logoStamp || !(*m_logoStamp == currentLogoStamp()))
        setLogo(ClinicProfile::readPicture(AppPaths::logoFile()));
    setCaption();
}

SettingsPanel::LogoStamp SettingsPanel::currentLogoStamp()
{
    const QFileInfo file(AppPaths::logoFile());
    return { file.exists(), file.size(), file.lastModified() };
}

void SettingsPanel::setLogo(const QImage &logo)
{
    m_logoStamp = currentLogoStamp();
    showPicture(Image1, logo);
    if (m_clinic)
        m_clinic->logo = logo;
}

void SettingsPanel::BuildClinicSummary()
{
    const QString summary = ClinicProfile::BuildClinicSummary(
        { Text24->text(), Text29->text(), Text2_7->text(), Text14->text(), Text27->text(), Text28->text() });
    Txtmosh->setPlainText(summary);
    if (m_clinic)
        m_clinic->summary = summary;
}

void SettingsPanel::setCaption()
{
    Check1->setText(ClinicProfile::showLogoCaption(Check1->isChecked()));
}

bool SettingsPanel::storeProfile()
{
    // A failed store is reported, not announced as saved.
    QString error;
    if (m_theme && !m_theme->update(&error)) {
        Dialogs::message(this, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        return false;
    }
    // The printouts take the contact lines as stored now, not as the
    // program found them at start.
    BuildClinicSummary();
    return true;
}

void SettingsPanel::save()
{
    if (storeProfile())
        ShowTimedNotice(this, Text::saved);
}

void SettingsPanel::toggleShowLogo()
{
    setCaption();
    storeProfile();
}

void SettingsPanel::pickLogo()
{
    const QString path = Dialogs::openFile(this, QString(), QString(), QString());
    if (!path.isEmpty()) {
        const QImage picked = ClinicProfile::readPicture(path);
        if (picked.isNull()) {
            // Said at once: writing the earlier pick again instead would
            // look as if this file had been taken.
            Dialogs::message(this, CommonTexts::errorTitle, Text::brokenPicture.arg(QFileInfo(path).fileName()),
                QMessageBox::Ok, Dialogs::Icon::Warning);
            return;
        }
        m_picked = picked;
        showPicture(Image2, m_picked);
    }
    if (m_picked.isNull())
        return;
    QString error;
    if (!ClinicProfile::writeLogo(m_picked, AppPaths::logoFile(), &error)) {
        Dialogs::message(this, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        return;
    }
    // The file now holds exactly this picture (lossless, already scaled).
    setLogo(m_picked);
    Dialogs::message(this, Text::logoSavedTitle, Text::logoSaved, QMessageBox::Ok, Dialogs::Icon::Information);
}

void SettingsPanel::showPicture(QLabel *place, const QImage &picture)
{
    if (picture.isNull()) {
        place->clear();
        return;
    }
    place->setPixmap(QPixmap::fromImage(picture.scaled(place->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
