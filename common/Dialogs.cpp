#include "common/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QQueue>

namespace Dialogs {

namespace {

struct Seam
{
    bool testMode = false;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QPair<QString, bool>> inputs;
    QQueue<QString> files;
    QList<Shown> log;
};

bool g_readingFollowsText = false;

Seam &seam()
{
    static Seam s;
    return s;
}

QMessageBox::Icon toBoxIcon(Icon icon)
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

QString fileDialog(const char *kind, QWidget *owner, const QString &caption, const QString &dir, const QString &filter)
{
    if (seam().testMode) {
        Shown s;
        s.kind = QLatin1String(kind);
        s.title = caption;
        s.dir = dir;
        s.filter = filter;
        seam().log << s;
        return seam().files.isEmpty() ? QString() : seam().files.dequeue();
    }
    if (qstrcmp(kind, "open") == 0)
        return QFileDialog::getOpenFileName(owner, caption, dir, filter);
    return QFileDialog::getSaveFileName(owner, caption, dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

} // namespace

QMessageBox::StandardButton message(QWidget *owner, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons, Icon icon, QMessageBox::StandardButton defaultButton)
{
    if (seam().testMode) {
        seam().log << Shown { QStringLiteral("message"), title, text, buttons, icon, {}, {}, defaultButton };
        return seam().answers.isEmpty() ? QMessageBox::NoButton : seam().answers.dequeue();
    }
    QMessageBox box(toBoxIcon(icon), title, text, buttons, owner);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    box.setLayoutDirection(!g_readingFollowsText || text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    return QMessageBox::StandardButton(box.exec());
}

QString input(QWidget *owner, const QString &title, const QString &prompt, const QString &defaultText, bool *ok)
{
    if (seam().testMode) {
        seam().log << Shown { QStringLiteral("input"), title, prompt, {}, Icon::None, {}, {} };
        if (seam().inputs.isEmpty()) {
            *ok = false;
            return QString();
        }
        const auto answer = seam().inputs.dequeue();
        *ok = answer.second;
        return answer.first;
    }
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setLayoutDirection(Qt::RightToLeft);
    *ok = dialog.exec() == QDialog::Accepted;
    return *ok ? dialog.textValue() : QString();
}

QString openFile(QWidget *owner, const QString &caption, const QString &dir, const QString &filter)
{
    return fileDialog("open", owner, caption, dir, filter);
}

QString saveFile(QWidget *owner, const QString &caption, const QString &dir, const QString &filter)
{
    return fileDialog("save", owner, caption, dir, filter);
}

bool exec(QDialog *dialog, const QString &kind)
{
    if (seam().testMode) {
        seam().log << Shown { kind, dialog->windowTitle(), {}, {}, Icon::None, {}, {} };
        return !seam().answers.isEmpty() && seam().answers.dequeue() == QMessageBox::Ok;
    }
    return dialog->exec() == QDialog::Accepted;
}

void setTestMode(bool on)
{
    seam() = Seam();
    seam().testMode = on;
}

bool testMode()
{
    return seam().testMode;
}
void setReadingFollowsText(bool on)
{
    g_readingFollowsText = on;
}
void setNextAnswer(QMessageBox::StandardButton button)
{
    seam().answers.enqueue(button);
}
void setNextInput(const QString &text, bool ok)
{
    seam().inputs.enqueue({ text, ok });
}
void setNextFile(const QString &path)
{
    seam().files.enqueue(path);
}
void record(const Shown &shown)
{
    seam().log << shown;
}

QList<Shown> takeLog()
{
    QList<Shown> log = seam().log;
    seam().log.clear();
    return log;
}

} // namespace Dialogs
