#include "UpdaterDialogs.h"

namespace UpdaterDialogs {

namespace {

bool g_testMode = false;
QList<QMessageBox::StandardButton> g_answers;
QList<Shown> g_log;

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QMessageBox::StandardButton message(
    QWidget *owner, const QString &title, const QString &text, QMessageBox::StandardButtons buttons, Icon icon)
{
    if (g_testMode) {
        g_log.append({ title, text, buttons, icon });
        return g_answers.isEmpty() ? QMessageBox::Ok : g_answers.takeFirst();
    }
    QMessageBox box(boxIcon(icon), title, text, buttons, owner);
    box.setLayoutDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    return QMessageBox::StandardButton(box.exec());
}

void setTestMode(bool on)
{
    g_testMode = on;
    g_answers.clear();
    g_log.clear();
}

void setNextAnswer(QMessageBox::StandardButton button)
{
    g_answers.append(button);
}

QList<Shown> takeLog()
{
    return std::exchange(g_log, {});
}

} // namespace UpdaterDialogs
