#pragma once

#include <QDateTime>
#include <QFrame>
#include <QImage>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RecordSource;
struct ClinicValues;

/// The settings panel Frame9 of the main window: the clinic profile (the
/// Theme row, through bound boxes), the show-logo switch and the logo.
/// It keeps the main window's clinic values current for the printouts, and
/// holds the child mode switch of the test window.
class SettingsPanel : public QFrame
{
    Q_OBJECT

public:
    /// \a Adodc4 is the main window's Theme record source (opened later, by
    /// its load steps); \a clinic the values the printouts read.
    SettingsPanel(QWidget *parent, RecordSource *Adodc4, ClinicValues *clinic);
    /// Called at the end of the main window's load steps: BuildClinicSummary.
    void windowLoaded();
    /// Called each time the panel is opened.
    void opened();
    /// Called each time the main window becomes active: the logo is read
    /// from the logo file and the check box caption set.
    void windowActivated();

    /// Command64: stores the profile row.
    void save();
    /// Cmdlogo: picks a picture and makes it the logo file.
    void pickLogo();
    /// Txtmosh := the non-empty contact lines, each followed by CR LF.
    void BuildClinicSummary();

private:
    // The controls keep their form names; tests reach them by objectName.
    QLineEdit *Text31 = nullptr;
    QLineEdit *Text30 = nullptr;
    QLineEdit *Text24 = nullptr;
    QLineEdit *Text29 = nullptr;
    QLineEdit *Text2_7 = nullptr; ///< Text2(7)
    QLineEdit *Text14 = nullptr;
    QLineEdit *Text27 = nullptr;
    QLineEdit *Text28 = nullptr;
    QCheckBox *Check1 = nullptr;
    /// Child mode: during a test the child cannot leave the test window.
    QCheckBox *CheckChild = nullptr;
    QPushButton *Cmdlogo = nullptr;
    QPushButton *Command64 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *CmdContent = nullptr; ///< "مواد آزمون": the content window
    QLabel *Image2 = nullptr;
    QLabel *Image1 = nullptr;
    QPlainTextEdit *Txtmosh = nullptr;

Q_SIGNALS:
    /// Close: the main window shows its credits box again.
    void closed();
    /// The content window is asked for.
    void contentRequested();

private:
    void toggleShowLogo();
    void setCaption();
    void showPicture(QLabel *place, const QImage &picture);
    bool storeProfile();

    /// What the logo file looked like when the kept logo was taken from it.
    struct LogoStamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const LogoStamp &o) const
        {
            return exists == o.exists && size == o.size && modified == o.modified;
        }
    };
    static LogoStamp currentLogoStamp();
    /// Shows \a logo and hands it to the printouts, as read from the file now.
    void setLogo(const QImage &logo);

    RecordSource *m_theme;
    std::optional<LogoStamp> m_logoStamp;
    ClinicValues *m_clinic;
    QImage m_picked; ///< Image2's picture: the last picked one in this run
};
