#pragma once

#include <QObject>
#include <QString>

/// A window's control by its form name. Tests drive a window through its
/// controls, as the user does, without reaching into the class; a name that
/// is not there ends the test with the name, not with a null pointer.
template <typename T> T *child(const QObject *root, const QString &name)
{
    T *found = root ? root->findChild<T *>(name) : nullptr;
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}
