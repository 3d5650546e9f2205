#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>

class FileDownloader;
class SetupUpdate;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

/// The updater's window: downloads the setup program into the updater's
/// folder, shows the progress and starts the setup program once its
/// signature is verified. ended() tells the program to end: the window is a
/// tool window, which the application does not count as its last window.
class UpdaterWindow : public QWidget
{
    Q_OBJECT

public:
    explicit UpdaterWindow(QWidget *parent = nullptr);

    /// The updater's folder: where the setup program is saved and started
    /// from. The executable's folder unless a test sets another.
    void setProgramDir(const QString &dir);
    QString programDir() const { return m_programDir; }

    /// Where the setup program is saved.
    QString destination() const;

    /// The release key the setup program must be signed with (32 bytes);
    /// the built-in one unless a test sets another.
    void setPublicKey(const QByteArray &key);

private:
    // The controls keep their form names; tests reach them by objectName.
    QLabel *Label3;
    std::array<QLabel *, 2> Label2;
    QProgressBar *ProgressBar;
    QLabel *Label4;
    QPushButton *cmdUpdate;
    QPushButton *Command1;
    QTimer *Timer1;
    ::FileDownloader *FileDownloader;
    QLineEdit *Text;
    QLabel *Label1;

signals:
    /// Every way out of the updater: exit, the close box, a started setup.
    void ended();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void cmdUpdateClick();
    void showError(const QString &message);
    void downloadComplete();
    void notVerified();
    void setProgress(const QString &percent);
    void endUpdater();
    void loadArt();

    SetupUpdate *m_update;
    QString m_programDir;
    QPixmap m_background;
    bool m_ended = false;
};
