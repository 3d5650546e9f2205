#pragma once

#include <QFrame>

class MainWindow;

/// The registration panel Frame1 of the main window.
class RegistrationPanel : public QFrame
{
    Q_OBJECT

public:
    explicit RegistrationPanel(MainWindow *owner);
    /// Called at the end of the main window's load steps.
    void windowLoaded();
    /// Called each time the panel is opened.
    void opened();

private:
    MainWindow *m_owner;
};
