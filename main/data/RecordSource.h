#pragma once

#include "data/Database.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

/// One window's open table: a snapshot of the whole table in stored (rowid)
/// order, with its own filter and current row. Values put into fields stay
/// pending until update() writes the current row. Two record sources over
/// one table see each other's stored changes only after refresh().
class RecordSource : public QObject
{
    Q_OBJECT

public:
    explicit RecordSource(QObject *parent = nullptr);

    /// Reads the whole \a table of \a file (the connection must be open).
    bool open(Database::File file, const QString &table, QString *error = nullptr);
    bool isOpen() const { return m_open; }
    Database::File file() const { return m_file; }
    QString tableName() const { return m_table; }

    /// Re-reads the table, drops the filter and makes the first row current.
    /// Pending values are dropped.
    bool refresh(QString *error = nullptr);

    /// Keeps only rows whose \a field equals \a value exactly (text
    /// comparison, no trimming); the first of them becomes current.
    /// Replaces any earlier filter. Field names ignore letter case.
    void setFilter(const QString &field, const QString &value);
    void clearFilter();
    bool hasFilter() const { return m_filtered; }

    int rowCount() const { return int(m_visible.size()); }
    /// True when there is no current row.
    bool atStart() const { return m_current < 0; }
    int currentRow() const { return m_current; }
    void setCurrentRow(int visibleRow);
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    /// Appends an empty row (stored by the next update) and makes it current.
    void addNew();

    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString &name) const;
    /// The named field of the current row, pending value included; "" when
    /// there is no current row or no such field.
    QString field(const QString &name) const;
    QString value(int visibleRow, int fieldIndex) const;
    /// All fields of \a visibleRow, pending values included, in field order.
    /// The texts share the snapshot's memory without copying it, so they are
    /// only valid until the source next changes (for reading large lists).
    void rowValues(int visibleRow, QStringList *values) const;
    /// Sets the pending value of the named field of the current row.
    void setField(const QString &name, const QString &value);
    bool hasPending() const;

    /// Writes the current row's pending values (a new row is inserted whole).
    bool update(QString *error = nullptr);
    /// Drops the current row's pending values.
    void cancelUpdate();
    /// Removes the current row from the file and the snapshot; the next row
    /// (or else the previous) becomes current.
    bool deleteCurrent(QString *error = nullptr);

    /// Called by Transaction when the transaction on \a connection has
    /// committed or rolled back, so that the writes made in it through
    /// record sources are taken into the shared reads only once they last.
    static void transactionEnded(const QSqlDatabase &connection, bool committed);

Q_SIGNALS:
    /// The current row moved, or a value of it changed.
    void currentChanged();
    /// The set of visible rows changed (refresh, filter, add, delete).
    void rowsChanged();

public:
    /// One row of the snapshot (shared between sources reading one table).
    struct Row
    {
        qint64 rowid = 0; ///< 0 until the row is stored
        qint64 key = 0; ///< identity for pending values
        QString packed; ///< all field values, length-prefixed
    };

private:
    bool refreshNative(void *handle, QString *error);
    void adopt(const QStringList &fields, std::vector<Row> rows);
    QString storedValue(const Row &row, int fieldIndex) const;
    const Row *currentRowData() const;
    void setVisibleAll();
    void emitMoved();

    bool m_open = false;
    Database::File m_file = Database::File::Examinee;
    QString m_table;
    QStringList m_fields;
    std::vector<Row> m_rows;
    std::vector<int> m_visible;
    int m_current = -1;
    bool m_filtered = false;
    qint64 m_nextNewKey = -1;
    QHash<qint64, QHash<int, QString>> m_pending;
};

/// A window's record source and the table it reads.
struct RecordSourceTable
{
    RecordSource *source;
    Database::File file;
    const char *table;
};

/// Opens the connections the sources need, then the sources in order. The
/// first failure stops it, with \a error naming the file.
bool OpenRecordSources(std::initializer_list<RecordSourceTable> sources, QString *error);
