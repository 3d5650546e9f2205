#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

#include "backup/BackupWindow.h"
class QCheckBox;
class QLabel;
class QTimer;

/// The exit window exitpro: asks to confirm leaving, offers a backup on the
/// way out, or goes back to a freshly loaded main window.
class ExitWindow : public QWidget
{
    Q_OBJECT

public:
    /// \a reloadMainWindow creates, loads and shows a new main window (cancel).
    explicit ExitWindow(std::function<void()> reloadMainWindow, QWidget *parent = nullptr);
    ~ExitWindow() override;

    /// Click on the highlighted accept picture: the backup window when the
    /// option is ticked, otherwise the end of the program.
    void accept();
    /// Click on the highlighted cancel picture: the main window comes back
    /// and this window closes.
    void cancel();

    /// The backup window once accept() has opened it.
    BackupWindow *backupWindow() const { return m_backup.data(); }

    // The three 500 ms ticks.
    void timer2Tick();
    void timer3Tick();
    void captionAnimateTick();

private:
    // The controls keep their form names; tests reach them by objectName.
    QLabel *Label1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *k1 = nullptr;
    QLabel *k2 = nullptr;
    QLabel *c1 = nullptr;
    QLabel *c2 = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;
    QTimer *tmCaptionAnimate = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    /// Enter confirms, Escape cancels; Tab moves between the two buttons.
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void swapPictures(QLabel *shown, QLabel *replacement);
    QLabel *makePicture(const char *name, int left, const QString &art, const QString &caption, bool highlighted);

    std::function<void()> m_reloadMainWindow;
    QPointer<BackupWindow> m_backup;
    QObject *m_pressed = nullptr;
    bool m_returning = false;
};

/// The main window's exit hook: shows the exit window, not modal, at left
/// 5000, top 1500 twips. It deletes itself when it closes.
ExitWindow *ShowExitWindow(std::function<void()> reloadMainWindow);
