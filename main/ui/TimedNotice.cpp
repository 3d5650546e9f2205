#include "ui/TimedNotice.h"

#include "ui/CommonTexts.h"

#include "common/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kNoticeMs = 1000;

// Presses OK on the open notice, if there is one; a notice already closed
// by the user is simply gone.
void closeNotice()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (box && box->isVisible() && box->windowTitle() == NoticeCaption()) {
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            return;
        }
    }
}

QTimer *noticeTimer(QWidget *owner)
{
    QObject *host = owner ? static_cast<QObject *>(owner) : static_cast<QObject *>(qApp);
    auto *timer = host->findChild<QTimer *>(QStringLiteral("NoticeTimerId"), Qt::FindDirectChildrenOnly);
    if (!timer) {
        timer = new QTimer(host);
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
        Dialogs::record({QStringLiteral("notice"), NoticeCaption(), text, QMessageBox::Ok, Dialogs::Icon::None, {}, {}});
        return;
    }
    noticeTimer(owner)->start(kNoticeMs); // re-arming restarts the period
    QMessageBox box(QMessageBox::NoIcon, NoticeCaption(), text, QMessageBox::Ok, owner);
    box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}
