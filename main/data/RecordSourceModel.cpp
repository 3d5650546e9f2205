#include "data/RecordSourceModel.h"

#include "data/RecordSource.h"

RecordSourceModel::RecordSourceModel(
    RecordSource *source, const QStringList &fields, const QStringList &captions, QObject *parent)
    : QAbstractTableModel(parent)
    , m_source(source)
    , m_fields(fields)
    , m_captions(captions)
{
    connect(source, &RecordSource::rowsChanged, this, &RecordSourceModel::reset);
    connect(source, &RecordSource::currentChanged, this, &RecordSourceModel::currentEdited);
    reset();
}

void RecordSourceModel::reset()
{
    beginResetModel();
    m_rows = m_source ? m_source->rowCount() : 0;
    m_columns.clear();
    for (const QString &f : m_fields)
        m_columns << (m_source ? m_source->fieldIndex(f) : -1);
    endResetModel();
}

// A value put into a bound field shows in the grid at once.
void RecordSourceModel::currentEdited()
{
    if (!m_source || m_source->rowCount() != m_rows) {
        reset();
        return;
    }
    const int row = m_source->currentRow();
    if (row >= 0)
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), { Qt::DisplayRole });
}

int RecordSourceModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RecordSourceModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant RecordSourceModel::data(const QModelIndex &index, int role) const
{
    if (!m_source || !index.isValid() || index.row() >= m_rows)
        return {};
    if (role == Qt::DisplayRole) {
        const int field = m_columns.value(index.column(), -1);
        return m_showsPending ? m_source->value(index.row(), field) : m_source->storedValue(index.row(), field);
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

void RecordSourceModel::setShowsPending(bool shows)
{
    m_showsPending = shows;
    reset();
}

QVariant RecordSourceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_captions.value(section);
    return section + 1;
}
