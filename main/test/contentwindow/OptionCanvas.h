#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <array>

/// An item's picture with its six option rectangles, at the test window's
/// size (633 x 421 px). The mouse draws, drags and resizes (bottom-right
/// corner) the selected option, clicks choose the key; arrows move the
/// selected option by a pixel, Shift+arrows resize it. Every change is
/// snapped to the loader's rules (OptionSnap).
class OptionCanvas : public QWidget
{
    Q_OBJECT

public:
    explicit OptionCanvas(QWidget *parent = nullptr);

    void setItem(const QImage &picture, const std::array<QRect, 6> &options, int key);
    std::array<QRect, 6> options() const { return m_options; }
    int key() const { return m_key; }
    int selected() const { return m_selected; } ///< 0..5, -1 none
    void select(int option);
    /// While on, the next click on an option makes it the key.
    void setChoosingKey(bool on) { m_choosingKey = on; }
    /// Option rectangle \a option in the widget's pixels.
    QRect optionRect(int option) const;

Q_SIGNALS:
    void optionsChanged();
    void keyChosen(int option); ///< 1..6
    void selectionChanged(int option);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Drag { None, Move, Resize, Draw };
    int optionAt(const QPoint &at) const;
    void place(const QRect &twips, bool magnet);
    void chooseKey(int option);

    QImage m_picture;
    std::array<QRect, 6> m_options;
    int m_key = 0;
    int m_selected = -1;
    bool m_choosingKey = false;
    Drag m_drag = Drag::None;
    QPoint m_pressed;
    QRect m_start; ///< the selected option's rectangle at the press, twips
    bool m_moved = false;
};
