#pragma once

#include "mainwindow/registration/RegistrationForm.h"

#include <QFrame>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class RecordSource;

/// The registration panel Frame1 of the main window.
class RegistrationPanel : public QFrame
{
    Q_OBJECT

public:
    /// The main window's record sources (opened later, by its load steps):
    /// Adodc1 duplicate check, Adodc2 new IDE row, Adodc3 new Answer row,
    /// Adodc5 code proposal.
    RegistrationPanel(
        QWidget *parent, RecordSource *Adodc1, RecordSource *Adodc2, RecordSource *Adodc3, RecordSource *Adodc5);
    /// Called at the end of the main window's load steps.
    void windowLoaded();
    /// Called each time the panel is opened: today's dates, a proposed code.
    void opened();

    /// Save (Command4): checks, stores, closes.
    void save();
    /// Cancel (Command5): closes, nothing stored.
    void cancel();

    RegistrationForm form() const;
    QWidget *fieldWidget(RegistrationForm::Field field) const;

private:
    // The controls keep their form names; tests reach them by objectName.
    /// Text2(0) first name, (1) family name, (2) code, (3) education,
    /// (4) test date, (5) birth date, (6) examiner.
    std::array<QLineEdit *, 7> Text2 {};
    QComboBox *Combo1 = nullptr; ///< sex
    QComboBox *Combo2 = nullptr; ///< age
    QComboBox *Combo3 = nullptr; ///< group
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QLineEdit *Text25 = nullptr; ///< hidden, Adodc5.Code
    /// The exact age from the two dates ("7 سال و 4 ماه"), below the birth date.
    QLabel *LblAge = nullptr;

Q_SIGNALS:
    /// Save succeeded or Cancel: the main window shows its credits box again.
    void closed();

private:
    QLineEdit *makeText(int index, int left, int top, int width, int height);
    QComboBox *makeCombo(const char *name, int left, int top, const QStringList &items);
    void makeCaption(const QString &text, QWidget *field, int right);
    /// Shows the age the dates give and sets an empty age list to it.
    void datesChanged();

    RecordSource *m_Adodc1;
    RecordSource *m_Adodc2;
    RecordSource *m_Adodc3;
    RecordSource *m_Adodc5;
};
