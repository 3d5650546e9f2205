#include "data/Transaction.h"

#include "data/SqlFailure.h"

#include <QSqlError>

Transaction::Transaction(Database::File file)
    : m_file(file)
{
    QSqlDatabase db = Database::connection(m_file);
    m_active = db.transaction();
    if (!m_active)
        m_error = SqlFailureText(db.lastError());
}

Transaction::~Transaction()
{
    if (m_active) {
        QSqlDatabase db = Database::connection(m_file);
        db.rollback();
    }
}

bool Transaction::commit(QString *error)
{
    if (!m_active) {
        if (error)
            *error = m_error;
        return false;
    }
    QSqlDatabase db = Database::connection(m_file);
    if (!db.commit()) {
        m_error = SqlFailureText(db.lastError());
        if (error)
            *error = m_error;
        return false; // the destructor rolls back
    }
    m_active = false;
    return true;
}
