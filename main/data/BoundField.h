#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
#include "data/RecordSource.h"

/// Ties one widget to one field of a record source's current row: the widget
/// follows every change of the current row, and what is put into it (typed
/// or set by the program) becomes the field's pending value. Check boxes
/// store "0" / "1". The binding lives as long as the widget.
class BoundField : public QObject
{
    Q_OBJECT

public:
    static BoundField *bind(QLabel *label, RecordSource *source, const QString &field);
    static BoundField *bind(QLineEdit *edit, RecordSource *source, const QString &field);
    static BoundField *bind(QComboBox *combo, RecordSource *source, const QString &field);
    static BoundField *bind(QCheckBox *check, RecordSource *source, const QString &field);

    QString fieldName() const { return m_field; }
    RecordSource *source() const { return m_source; }
    /// Re-reads the widget from the current row.
    void pull();

private:
    BoundField(QWidget *widget, RecordSource *source, const QString &field);
    void push(const QString &value);
    QString widgetText() const;
    void setWidgetText(const QString &text);

    QWidget *m_widget;
    QPointer<RecordSource> m_source;
    QString m_field;
    bool m_pulling = false;
};
