#pragma once

#include <QFrame>

class MainWindow;

/// The settings panel Frame9 of the main window.
class SettingsPanel : public QFrame
{
    Q_OBJECT

public:
    explicit SettingsPanel(MainWindow *owner);
    /// Called at the end of the main window's load steps.
    void windowLoaded();
    /// Called each time the panel is opened.
    void opened();

private:
    MainWindow *m_owner;
};
