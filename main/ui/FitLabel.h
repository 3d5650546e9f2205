#pragma once

#include <QLabel>

/// A label that shows its whole text inside its box: the text wraps word
/// by word and, when it still does not fit, is drawn in a smaller size.
class FitLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    /// The font the text is drawn in: the label's own, or the largest
    /// smaller size (down to a floor) at which the wrapped text fits.
    QFont fittedFont() const;
    /// Flags the text is laid out with inside contentsRect().
    int textFlags() const;

    /// The largest point size from \a font's down to \a minimumPoints at
    /// which \a text laid out with \a flags fits \a box.
    static QFont fitting(const QFont &font, const QRect &box, int flags, const QString &text, qreal minimumPoints);

protected:
    void paintEvent(QPaintEvent *event) override;
};
