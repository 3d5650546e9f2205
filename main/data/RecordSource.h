#pragma once

#include "data/Database.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

/// One window's open table: a snapshot of the table in stored (rowid)
/// order, with its own filter and current row. Values put into fields stay
/// pending until update() writes the current row. Two record sources over
/// one table see each other's stored changes only after a read from the
/// file: refresh(), refreshWhere(), or a filter change that needs the rows
/// a keyed read left out. A read that fails keeps the rows read before; a
/// caller that does not take the failure (no \a error, or a filter change)
/// learns of it through readFailed(), so a window can always say so.
class RecordSource : public QObject
{
    Q_OBJECT

public:
    explicit RecordSource(QObject *parent = nullptr);

    /// Reads the whole \a table of \a file (the connection must be open).
    bool open(Database::File file, const QString &table, QString *error = nullptr);
    /// Reads only the rows of \a table whose \a field equals \a value, as
    /// refreshWhere() does.
    bool openWhere(Database::File file, const QString &table, const QString &field, const QString &value,
        QString *error = nullptr);
    bool isOpen() const { return m_open; }
    Database::File file() const { return m_file; }
    QString tableName() const { return m_table; }

    /// Re-reads the whole table, drops the filter and makes the first row
    /// current. Pending values and rows not yet stored are dropped. When the
    /// file has not changed since this source read it whole, its rows are
    /// kept as they are instead of being read again.
    bool refresh(QString *error = nullptr);
    /// Re-reads only the rows whose \a field equals \a value (text, exact,
    /// through an index where there is one) and makes the first current;
    /// the source then holds just those rows, as if filtered on them.
    /// Pending values are dropped. Fails on a field the table lacks.
    bool refreshWhere(const QString &field, const QString &value, QString *error = nullptr);
    /// Whether the table in the file holds no row, asked of the file now;
    /// the snapshot is left as it is. Also true when the file cannot be read.
    bool tableIsEmpty(QString *error = nullptr) const;
    /// True while the source holds only the rows of a refreshWhere().
    bool isKeyed() const { return !m_keyField.isEmpty(); }

    /// Keeps only rows whose \a field equals \a value exactly (text
    /// comparison, no trimming); the first of them becomes current.
    /// Replaces any earlier filter. Field names ignore letter case. A keyed
    /// source reads the whole table first unless the filter is its key.
    void setFilter(const QString &field, const QString &value);
    /// A text's form for comparing, such as a name folded for search.
    using Fold = QString (*)(const QString &);
    /// setFilter comparing \a fold of each row's value with \a fold of \a value.
    void setFilter(const QString &field, const QString &value, Fold fold);
    /// Shows every row again; a keyed source reads the whole table for it.
    /// Pending values and rows not yet stored are kept either way.
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
    /// The value of \a visibleRow as the file holds it, pending values left out.
    QString storedValue(int visibleRow, int fieldIndex) const;
    /// The named field of the current row as the file holds it.
    QString storedField(const QString &name) const;
    /// All fields of \a visibleRow, pending values included, in field order.
    /// The texts share the snapshot's memory without copying it, so they are
    /// only valid until the source next changes (for reading large lists).
    void rowValues(int visibleRow, QStringList *values) const;
    /// Sets the pending value of the named field of the current row.
    void setField(const QString &name, const QString &value);
    bool hasPending() const;

    /// Writes the current row's pending values (a new row is inserted whole).
    /// Fails with no current row, and when another window has deleted the
    /// row meanwhile; the pending values stay.
    bool update(QString *error = nullptr);
    /// Drops the current row's pending values.
    void cancelUpdate();
    /// Removes the current row from the file and the snapshot; the next row
    /// (or else the previous) becomes current.
    bool deleteCurrent(QString *error = nullptr);

Q_SIGNALS:
    /// The current row moved, or a value of it changed.
    void currentChanged();
    /// The set of visible rows changed (refresh, filter, add, delete).
    void rowsChanged();
    /// A read from the file failed and the caller did not ask for the
    /// failure: \a message says why, in the user's words.
    void readFailed(const QString &message);

private:
    /// One row of the snapshot.
    struct Row
    {
        qint64 rowid = 0; ///< 0 until the row is stored
        qint64 key = 0; ///< identity for pending values
        QString packed; ///< all field values, length-prefixed
    };

    bool read(const QString &keyField, const QString &key, QString *error);
    bool readWholeKeepingEdits();
    bool readFailure(const QString &message, QString *error);
    void adopt(const QStringList &fields, std::vector<Row> rows);
    void showMatching(int fieldIndex, const QString &value, Fold fold = nullptr);
    QString storedValue(const Row &row, int fieldIndex) const;
    const Row *currentRowData() const;
    void setVisibleAll();

    bool m_open = false;
    Database::File m_file = Database::File::Examinee;
    QString m_table;
    QStringList m_fields;
    std::vector<Row> m_rows;
    std::vector<int> m_visible;
    int m_current = -1;
    bool m_filtered = false;
    QString m_keyField; ///< the field of the last keyed read; empty: the whole table
    QString m_key;
    /// What the file was when the whole table was last read outside a
    /// transaction; a refresh that finds the same reads nothing.
    struct FileState
    {
        quint64 generation = 0;
        qint64 changes = -1; ///< through our connection
        qint64 dataVersion = -1; ///< commits by other connections
        bool operator==(const FileState &) const = default;
    };
    FileState m_readAt;
    qint64 m_nextNewKey = -1;
    QHash<qint64, QHash<int, QString>> m_pending;
};

/// A window's record source and the table it reads.
struct RecordSourceTable
{
    RecordSource *source;
    Database::File file;
    const char *table;
    /// When set, only the rows whose field equals \a key are read.
    const char *keyField = nullptr;
    QString key = QString();
};

/// Opens the connections the sources need, then the sources in order. The
/// first failure stops it, with \a error naming the file.
bool OpenRecordSources(std::initializer_list<RecordSourceTable> sources, QString *error);
