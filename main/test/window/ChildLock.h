#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

#include <memory>

class QWidget;

/// Keeps a child inside the test window while a test runs in child mode:
/// the window sits centred on a backdrop that covers the screen, its close
/// box, Alt+F4 and Escape do nothing, and keys never reach the options.
class ChildLock : public QObject
{
    Q_OBJECT

public:
    /// \a window is the test window; \a optionArea what the child answers
    /// on (the item pictures with their options).
    ChildLock(QWidget *window, const QList<QWidget *> &optionArea);
    ~ChildLock() override;

    /// From "شروع": backdrop shown, window centred above it.
    void begin();
    /// At "نتيجه" or "خروج": backdrop gone, the window back where it stood.
    void end();
    bool active() const { return m_active; }
    /// The backdrop while active, else nullptr.
    QWidget *backdrop() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inOptionArea(QObject *object) const;

    QWidget *m_window;
    QList<QWidget *> m_optionArea;
    std::unique_ptr<QWidget> m_backdrop;
    QPoint m_position; ///< where the window stood before
    bool m_active = false;
};
