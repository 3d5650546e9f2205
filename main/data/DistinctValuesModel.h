#pragma once

#include <QPointer>
#include <QStringListModel>

class RecordSource;

/// The values of one field over a record source's visible rows, each once,
/// in row order: the entries a search list offers. Rebuilt with rebuild(),
/// once per change of the visible rows, never per keystroke.
class DistinctValuesModel : public QStringListModel
{
    Q_OBJECT

public:
    DistinctValuesModel(RecordSource *source, const QString &field, QObject *parent = nullptr);
    void rebuild();

private:
    QPointer<RecordSource> m_source;
    QString m_field;
};
