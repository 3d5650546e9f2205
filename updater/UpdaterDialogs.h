#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

/// The updater's one way to show a message box. Tests switch it to test mode:
/// then no box is shown, every call is logged and answered in advance.
namespace UpdaterDialogs {

enum class Icon { None, Information, Warning, Critical, Question };

/// Shows a modal box; texts in Persian read right to left.
QMessageBox::StandardButton message(QWidget *owner, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok, Icon icon = Icon::None);

void setTestMode(bool on);
/// The answer for the next box in test mode (queued; Ok when none is queued).
void setNextAnswer(QMessageBox::StandardButton button);

struct Shown
{
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    Icon icon;
};
/// The boxes shown in test mode since the last call.
QList<Shown> takeLog();

} // namespace UpdaterDialogs
