#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

/// One element of a report band. Geometry is in twips from the band's
/// top-left corner; positions are absolute (never mirrored).
struct ReportElement
{
    enum class Kind { Label, Field, Picture, HorizontalRule, VerticalRule, Drawing };

    Kind kind = Kind::Label;
    QString name;
    QRect rect; ///< twips, inside the band

    // Text elements (Label, Field).
    QString text; ///< Label: the caption
    QString field; ///< Field: the data field, by name (letter case ignored)
    QString fontFamily = QStringLiteral("B Nazanin");
    qreal pointSize = 9.75;
    bool bold = true;
    /// Horizontal alignment is always taken as absolute: right means the
    /// right edge, whatever the text's direction.
    Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    /// Auto picks right to left for text that starts with a right-to-left letter.
    Qt::LayoutDirection direction = Qt::LayoutDirectionAuto;
    bool wrap = true;
    /// Field: replaces each value before it is drawn; \a row counts the
    /// detail rows of this layout from 0.
    std::function<QString(const QString &value, int row)> format;

    // Picture: drawn scaled into rect, keeping its proportions, centred. A
    // null picture leaves the place empty.
    QImage picture;

    // Drawing: paints itself into rect (twips), as vectors on any device.
    std::function<void(QPainter &painter, const QRectF &rect)> draw;

    static ReportElement make(Kind kind, const QString &name, const QRect &rect);
    static ReportElement label(const QString &name, const QRect &rect, const QString &text = QStringLiteral(" "));
    static ReportElement boundField(const QString &name, const QRect &rect, const QString &field);
    static ReportElement image(const QString &name, const QRect &rect);
    /// A horizontal rule from (left, top) \a width long.
    static ReportElement hrule(const QString &name, int left, int top, int width);
    /// A vertical rule from (left, top) \a height long.
    static ReportElement vrule(const QString &name, int left, int top, int height);
};

inline ReportElement ReportElement::make(Kind kind, const QString &name, const QRect &rect)
{
    ReportElement e;
    e.kind = kind;
    e.name = name;
    e.rect = rect;
    return e;
}

inline ReportElement ReportElement::label(const QString &name, const QRect &rect, const QString &text)
{
    ReportElement e = make(Kind::Label, name, rect);
    e.text = text;
    return e;
}

inline ReportElement ReportElement::boundField(const QString &name, const QRect &rect, const QString &field)
{
    ReportElement e = make(Kind::Field, name, rect);
    e.field = field;
    return e;
}

inline ReportElement ReportElement::image(const QString &name, const QRect &rect)
{
    return make(Kind::Picture, name, rect);
}

inline ReportElement ReportElement::hrule(const QString &name, int left, int top, int width)
{
    return make(Kind::HorizontalRule, name, QRect(left, top, width, 0));
}

inline ReportElement ReportElement::vrule(const QString &name, int left, int top, int height)
{
    return make(Kind::VerticalRule, name, QRect(left, top, 0, height));
}
