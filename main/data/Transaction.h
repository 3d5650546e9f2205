#pragma once

#include "data/Database.h"

/// All-or-nothing writes across record sources of one file (an examinee's
/// IDE and Answer rows). Rolls back unless commit() succeeded.
class Transaction
{
public:
    explicit Transaction(Database::File file);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const { return m_active; }
    bool commit(QString *error = nullptr);
    QString error() const { return m_error; }

private:
    Database::File m_file;
    bool m_active = false;
    QString m_error;
};
