#pragma once

#include "mainwindow/CreditsScroller.h"

#include <QFrame>
#include <QPixmap>
#include <QVector>

#include <memory>

class QLabel;

class QTimer;

/// The credits box Picture1: a bitmap with nine rising credit lines. A click
/// anywhere on it opens the vendor's site.
class CreditsBox : public QFrame
{
    Q_OBJECT

public:
    /// Width and height in twips.
    CreditsBox(int widthTwips, int heightTwips, QWidget *parent = nullptr);

    static QStringList creditTexts();

    CreditsScroller &scroller() { return *m_scroller; }
    /// Runs one tick of Timer1 and moves the labels.
    void tick();
    QLabel *line(int index) const { return Label1[index]; } ///< 0-based
    QTimer *timer() const { return Timer1; }
    /// The hidden offset holder (a label: it is set 64 times a second and a
    /// text box would lay its text out every time).
    QLabel *offsetBox() const { return Text1; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void apply();

    QVector<QLabel *> Label1;
    QPixmap m_background;
    QLabel *Text1; // hidden holder of the offset text
    QTimer *Timer1;
    std::unique_ptr<CreditsScroller> m_scroller;
};
