#pragma once

#include "ui/ClinicValues.h"

#include <QWidget>

class CreditsBox;
class QFrame;
class QLabel;
class QToolButton;
class RecordSource;
class RegistrationPanel;
class SettingsPanel;
class WrapButton;

/// The main window Frm0: the elliptic hub with the credits box, the two
/// panels that take its place, and the row of six buttons.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Area { Credits, Registration, Settings };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    /// The load steps: placement, shape, record sources, version label, clinic
    /// summary. On a database fault \a error holds the message and the window
    /// must not be shown.
    bool load(QString *error);

    Area area() const { return m_area; }
    void showArea(Area area);

    /// The printouts read these at print time.
    ClinicValues &clinicValues();

    /// The two panels are built just after the first frame (or when first
    /// asked for): the window shows sooner without them.
    RegistrationPanel *registrationPanel();
    SettingsPanel *settingsPanel();

    /// The exit action: exitRequested is announced and this window unloads;
    /// with nobody listening the program quits.
    void exitAction();

    /// IDE, as the main window's record source holds it.
    RecordSource *examinees() const { return Adodc1; }

private:
    // The controls keep their form names; tests reach them by objectName.
    RecordSource *Adodc1 = nullptr;
    RecordSource *Adodc2 = nullptr;
    RecordSource *Adodc3 = nullptr;
    RecordSource *Adodc4 = nullptr;
    RecordSource *Adodc5 = nullptr;

    CreditsBox *Picture1 = nullptr;
    RegistrationPanel *Frame1 = nullptr;
    SettingsPanel *Frame9 = nullptr;
    QLabel *SkinLabel9 = nullptr;
    WrapButton *Command3 = nullptr;
    WrapButton *Command6 = nullptr;
    WrapButton *Command2 = nullptr;
    WrapButton *Command7 = nullptr;
    WrapButton *Command9 = nullptr;
    WrapButton *Command1 = nullptr;
    QToolButton *CmdHelp = nullptr;

Q_SIGNALS:
    void activated();
    // What the user asked for; the program's hand-overs answer them.
    void startTestRequested();
    void recordsRequested();
    void updateRequested();
    void exitRequested();
    /// The settings panel asks for the content window.
    void contentRequested();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void ensurePanels();
    void afterFirstFrame();
    WrapButton *makeButton(const char *name, int left, int width, const QString &caption, const QString &tip);

    Area m_area = Area::Credits;
    ClinicValues m_clinic;
    bool m_unloading = false;
    bool m_loaded = false;
    QWidget *m_client = nullptr; ///< the client area below the title band
    bool m_painted = false;
    QPoint m_dragFrom;
};
