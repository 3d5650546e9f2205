#include "ui/TimedNotice.h"

#include "ui/CommonTexts.h"

#include "common/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kNoticeMs = 1000;

QTimer *noticeTimer();

bool isNotice(QWidget *w)
{
    auto *box = qobject_cast<QMessageBox *>(w);
    return box && box->isVisible() && box->windowTitle() == NoticeCaption();
}

// Presses OK on the newest open notice (the one on top). A notice beneath
// it gets its own second next, so none stays open for good.
void closeNotice()
{
    QWidget *top = QApplication::activeModalWidget();
    if (!isNotice(top)) {
        top = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (isNotice(w))
                top = w;
        }
    }
    if (!top)
        return;
    if (QAbstractButton *ok = static_cast<QMessageBox *>(top)->button(QMessageBox::Ok))
        ok->click();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != top && isNotice(w)) {
            noticeTimer()->start(kNoticeMs);
            return;
        }
    }
}

// One timer for every notice, whoever owns it: a later notice re-arms it
// instead of being closed early by an earlier one's timer.
QTimer *noticeTimer()
{
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(qApp);
        timer->setObjectName(QStringLiteral("NoticeTimerId"));
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, timer, &closeNotice);
    }
    return timer;
}

} // namespace

QString NoticeCaption()
{
    return CommonTexts::noticeTitle;
}

void ShowTimedNotice(QWidget *owner, const QString &text)
{
    if (Dialogs::testMode()) {
        Dialogs::record(
            { QStringLiteral("notice"), NoticeCaption(), text, QMessageBox::Ok, Dialogs::Icon::None, {}, {} });
        return;
    }
    noticeTimer()->start(kNoticeMs); // re-arming restarts the period
    QMessageBox box(QMessageBox::NoIcon, NoticeCaption(), text, QMessageBox::Ok, owner);
    box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}
