#pragma once

#include "db/Connection.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace vorlane::test {

// A fresh account database in a temporary directory, for one test case.
// With demo true it is a copy of the demo account database (schema and seed data), which is
// created once per test process and copied for each case.
class TestDatabase
{
public:
    explicit TestDatabase(bool demo = true);
    ~TestDatabase();

    QString path() const { return m_path; }
    QString connectionString() const { return QStringLiteral("sqlite:") + m_path; }
    db::Connection &conn() { return *m_conn; }
    // A second, independent connection to the same file.
    std::unique_ptr<db::Connection> openAnother() const;

    // First column of the first row of a query, or an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql);
    // Declared columns of a physical table, in order, lower-cased names.
    QStringList columns(const QString &table);
    bool tableExists(const QString &table);

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<db::Connection> m_conn;
};

} // namespace vorlane::test
