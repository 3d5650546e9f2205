#include "data/DistinctValuesModel.h"

#include "data/RecordSource.h"

#include <QSet>

DistinctValuesModel::DistinctValuesModel(RecordSource *source, const QString &field, QObject *parent)
    : QStringListModel(parent)
    , m_source(source)
    , m_field(field)
{
    rebuild();
}

void DistinctValuesModel::rebuild()
{
    QStringList values;
    if (m_source) {
        const int f = m_source->fieldIndex(m_field);
        QSet<QString> seen;
        const int n = m_source->rowCount();
        seen.reserve(n);
        for (int i = 0; i < n; ++i) {
            QString v = m_source->value(i, f);
            if (v.isEmpty() || seen.contains(v))
                continue;
            seen.insert(v);
            values << std::move(v);
        }
    }
    setStringList(values);
}
