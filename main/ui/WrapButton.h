#pragma once

#include <QPushButton>

/// A push button whose caption wraps inside it, word by word, as the
/// graphical-style buttons of the original windows did.
class WrapButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
