#include "data/BoundField.h"

#include "data/RecordSource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

BoundField::BoundField(QWidget *widget, RecordSource *source, const QString &field)
    : QObject(widget)
    , m_widget(widget)
    , m_source(source)
    , m_field(field)
{
    connect(source, &RecordSource::currentChanged, this, &BoundField::pull);
    pull();
}

BoundField *BoundField::bind(QLabel *label, RecordSource *source, const QString &field)
{
    return new BoundField(label, source, field);
}

BoundField *BoundField::bind(QLineEdit *edit, RecordSource *source, const QString &field)
{
    auto *b = new BoundField(edit, source, field);
    connect(edit, &QLineEdit::textChanged, b, &BoundField::push);
    return b;
}

BoundField *BoundField::bind(QComboBox *combo, RecordSource *source, const QString &field)
{
    auto *b = new BoundField(combo, source, field);
    connect(combo, &QComboBox::currentTextChanged, b, &BoundField::push);
    return b;
}

BoundField *BoundField::bind(QCheckBox *check, RecordSource *source, const QString &field)
{
    auto *b = new BoundField(check, source, field);
    connect(check, &QCheckBox::toggled, b, [b](bool on) { b->push(on ? QStringLiteral("1") : QStringLiteral("0")); });
    return b;
}

QString BoundField::widgetText() const
{
    if (auto *l = qobject_cast<QLabel *>(m_widget))
        return l->text();
    if (auto *e = qobject_cast<QLineEdit *>(m_widget))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(m_widget))
        return c->currentText();
    if (auto *c = qobject_cast<QCheckBox *>(m_widget))
        return c->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return QString();
}

void BoundField::setWidgetText(const QString &text)
{
    if (auto *l = qobject_cast<QLabel *>(m_widget)) {
        l->setText(text);
    } else if (auto *e = qobject_cast<QLineEdit *>(m_widget)) {
        e->setText(text);
    } else if (auto *c = qobject_cast<QComboBox *>(m_widget)) {
        if (c->isEditable()) {
            c->setEditText(text);
        } else {
            const int i = c->findText(text, Qt::MatchExactly);
            c->setCurrentIndex(i);
        }
    } else if (auto *c = qobject_cast<QCheckBox *>(m_widget)) {
        // Any non-zero number counts as ticked, as a two-state box reads it.
        c->setChecked(text.trimmed().toInt() != 0);
    }
}

void BoundField::pull()
{
    if (!m_source)
        return;
    const QString text = m_source->field(m_field);
    if (widgetText() == text)
        return;
    m_pulling = true;
    setWidgetText(text);
    m_pulling = false;
}

void BoundField::push(const QString &value)
{
    if (m_pulling || !m_source || m_source->atStart())
        return;
    m_source->setField(m_field, value);
}
