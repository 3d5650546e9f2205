#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

class RecordSource;

/// Chosen fields of a record source's visible rows, as a table for a grid.
/// Follows every filter, refresh and edit of the record source.
class RecordSourceModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    RecordSourceModel(
        RecordSource *source, const QStringList &fields, const QStringList &captions, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Whether values not yet stored show (the default); without them the
    /// grid shows what the file holds while an edit is under way.
    void setShowsPending(bool shows);

private:
    void reset();
    void currentEdited();

    QPointer<RecordSource> m_source;
    QStringList m_fields;
    QStringList m_captions;
    QVector<int> m_columns; ///< field index per column
    int m_rows = 0;
    bool m_showsPending = true;
};
