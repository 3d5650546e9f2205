#pragma once

#include <QFrame>

class RecordSource;
struct ClinicValues;

/// The settings panel Frame9 of the main window: the clinic profile and logo.
class SettingsPanel : public QFrame
{
    Q_OBJECT

public:
    /// \a Adodc4 is the main window's Theme record source (opened later, by
    /// its load steps); \a clinic the values the printouts read.
    SettingsPanel(QWidget *parent, RecordSource *Adodc4, ClinicValues *clinic);
    /// Called at the end of the main window's load steps.
    void windowLoaded();
    /// Called each time the panel is opened.
    void opened();
    /// Called each time the main window becomes active.
    void windowActivated();

Q_SIGNALS:
    /// Close: the main window shows its credits box again.
    void closed();
};
