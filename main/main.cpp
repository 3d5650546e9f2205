#include "Handovers.h"
#include "common/Dialogs.h"
#include "data/AppInfo.h"
#include "data/DataFolder.h"
#include "data/DataFolderTexts.h"
#include "ui/CommonTexts.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(AppInfo::versionMajor()).arg(AppInfo::versionMinor()));

    QString error;
    const auto askCopy = [](const QString &oldDir, const QString &dataDir) {
        const QString text
            = DataFolderText::copyOldData.arg(QDir::toNativeSeparators(oldDir), QDir::toNativeSeparators(dataDir));
        return Dialogs::message(
                   nullptr, AppInfo::title(), text, QMessageBox::Yes | QMessageBox::No, Dialogs::Icon::Question)
            == QMessageBox::Yes;
    };
    if (!DataFolder::prepareForStart(askCopy, &error)) {
        Dialogs::message(nullptr, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
        return 1;
    }

    if (!OpenMainWindow())
        return 1;
    return app.exec();
}
