#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>

class FileDownloader;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

/// The updater's window: downloads the setup program into the updater's
/// folder, shows the progress and starts the setup program when done.
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

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void cmdUpdateClick();
    void showError(const QString &message);
    void downloadComplete();
    void setProgress(const QString &percent);
    void endUpdater();
    void loadArt();

    QString m_programDir;
    QPixmap m_background;
};
