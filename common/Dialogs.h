#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

class QDialog;
class QWidget;

/// Every message box, input box and file dialog of a program goes through
/// here (both programs use it). In test mode nothing is shown: each call is logged and answered
/// from the queue set up in advance, so no test ever waits on a modal box.
namespace Dialogs {

enum class Icon { None, Information, Warning, Critical, Question };

/// Message box, read right to left (or as its text reads, see
/// setReadingFollowsText). Returns the button pressed. \a defaultButton is
/// the one Enter presses (NoButton leaves the choice to Qt).
QMessageBox::StandardButton message(QWidget *owner, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok, Icon icon = Icon::None,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

/// Input box: \a ok is false when the user cancelled.
QString input(QWidget *owner, const QString &title, const QString &prompt, const QString &defaultText, bool *ok);

/// File dialogs; empty text when cancelled.
QString openFile(QWidget *owner, const QString &caption, const QString &dir, const QString &filter);
QString saveFile(QWidget *owner, const QString &caption, const QString &dir, const QString &filter);

/// Any other modal dialog (the print dialog): true when it was accepted. In
/// test mode it is not shown but logged as \a kind with its window title,
/// and accepted when the next answer is Ok.
bool exec(QDialog *dialog, const QString &kind);

/// Pelorin's boxes always read right to left; the updater's English boxes
/// read as their text does.
void setReadingFollowsText(bool on);

// ---- test seam -------------------------------------------------------------

struct Shown
{
    QString kind; ///< "message", "notice", "input", "open", "save", or exec()'s kind
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    Icon icon = Icon::None;
    QString dir; ///< file dialogs: start folder (or proposed file)
    QString filter; ///< file dialogs
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton; ///< message boxes
};

void setTestMode(bool on);
bool testMode();
/// Answers for the next boxes, in order. Unanswered message boxes give
/// NoButton, unanswered input boxes are cancelled, file dialogs give "".
void setNextAnswer(QMessageBox::StandardButton button);
void setNextInput(const QString &text, bool ok = true);
void setNextFile(const QString &path);
/// Records a box shown elsewhere (the timed notice) in the log.
void record(const Shown &shown);
QList<Shown> takeLog();

} // namespace Dialogs
