#pragma once

#include <QString>

class QWidget;

/// A modal box titled "پيام" with one OK button and no icon, that closes
/// itself as if OK were pressed about one second after it is shown. Each
/// owner has one pending timer, re-armed for every notice.
void ShowTimedNotice(QWidget *owner, const QString &text);

/// The notice caption "پيام".
QString NoticeCaption();
