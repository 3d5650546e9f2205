#include "ui/ReadFailures.h"

#include "common/Dialogs.h"
#include "data/RecordSource.h"
#include "ui/CommonTexts.h"

#include <QWidget>

void ShowReadFailures(QWidget *owner, std::initializer_list<RecordSource *> sources)
{
    for (RecordSource *source : sources) {
        QObject::connect(source, &RecordSource::readFailed, owner, [owner](const QString &message) {
            Dialogs::message(owner, CommonTexts::errorTitle, message, QMessageBox::Ok, Dialogs::Icon::Warning);
        });
    }
}
