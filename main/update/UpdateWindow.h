#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class VersionFetcher;

/// The update window: asks the vendor's server for the newest version number
/// and starts the updater when it is newer than this program. Shown modal by
/// the main window, which ends the program on updaterStarted().
class UpdateWindow : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateWindow(QWidget *parent = nullptr);
    ~UpdateWindow() override;

    /// Where the updater is looked for; the program's folder by default.
    void setProgramDir(const QString &dir) { m_programDir = dir; }
    /// The vendor's web server (no trailing slash).
    void setServerUrl(const QString &url) { m_serverUrl = url; }
    /// The running version, 2.3 by default.
    void setVersion(int major, int minor);

private:
    // The controls keep their form names; tests reach them by objectName.
    QPushButton *Command1;
    QPushButton *Command2;
    QLabel *Label1;
    QLabel *SkinLabel1;
    VersionFetcher *Inet1;

signals:
    /// The updater runs: the program must end now, without its exit questions.
    void updaterStarted();

public slots:
    void done(int result) override;

private:
    void Command1Click();
    void versionFetched(const QString &text);
    void setBusy(bool busy);

    QString m_programDir;
    QString m_serverUrl;
    int m_major;
    int m_minor;
    bool m_busy = false;
};
