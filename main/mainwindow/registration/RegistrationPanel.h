#pragma once

#include <QFrame>

class RecordSource;

/// The registration panel Frame1 of the main window.
class RegistrationPanel : public QFrame
{
    Q_OBJECT

public:
    /// The main window's record sources (opened later, by its load steps):
    /// Adodc1 duplicate check, Adodc2 new IDE row, Adodc3 new Answer row,
    /// Adodc5 code proposal.
    RegistrationPanel(QWidget *parent, RecordSource *Adodc1, RecordSource *Adodc2, RecordSource *Adodc3,
                      RecordSource *Adodc5);
    /// Called at the end of the main window's load steps.
    void windowLoaded();
    /// Called each time the panel is opened.
    void opened();

Q_SIGNALS:
    /// Save succeeded or Cancel: the main window shows its credits box again.
    void closed();
};
