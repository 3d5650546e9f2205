#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

/// The backup window Frmbackup: copies the examinee database to a backup
/// file or restores it from one. Every way out of it ends the program.
class BackupWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BackupWindow(QWidget *parent = nullptr);

    /// The proposed backup name from the date and time holders as they read now.
    QString proposedName() const;
    /// True while a copy runs; the buttons are disabled then.
    bool copying() const { return m_copying; }

    void chooseBackupFile(); ///< b1
    void chooseRestoreFile(); ///< b2
    void backup(); ///< VisualButtonEx2
    void restore(); ///< VisualButtonEx3
    void clockTick(); ///< Timer1, every 1000 ms

private:
    // The controls keep their form names; tests reach them by objectName.
    QLabel *Label1 = nullptr; ///< hidden date holder
    QLabel *Label2 = nullptr; ///< hidden time holder
    QLabel *Label3 = nullptr; ///< hidden date copy
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *b1 = nullptr;
    QPushButton *b2 = nullptr;
    QPushButton *VisualButtonEx2 = nullptr;
    QPushButton *VisualButtonEx3 = nullptr;
    QPushButton *Command1 = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPushButton *makeButton(const char *name, const QString &caption, const QRect &twips);
    QLineEdit *makePathBox(const char *name, const QRect &twips);
    void setCopying(bool on);

    QString m_dialogFileName; ///< the shared dialog's file name, kept between uses
    bool m_copying = false;
};
