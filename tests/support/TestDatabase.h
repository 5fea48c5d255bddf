#pragma once

#include "db/Connection.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace vorlane::test {

// A fresh account database for one test case.
// With demo true it is a copy of the demo account database (schema and seed data), which is
// created once per test process and copied for each case.
// The engine is SQLite (a file in a temporary directory) unless VORLANE_TEST_PG names a
// PostgreSQL server ("odbc:Driver=PostgreSQL Unicode;Server=...;Database=postgres;..."): then
// each case gets its own database there, made from a template database, dropped afterwards.
class TestDatabase
{
public:
    explicit TestDatabase(bool demo = true);
    ~TestDatabase();

    // "SQLite" or "PostgreSQL": the engine every case of this process runs on.
    static QString engineName();
    static bool onPostgres();

    // SQLite: the file. PostgreSQL: the database's name.
    QString path() const { return m_path; }
    QString connectionString() const { return m_connectionString; }
    db::Connection &conn() { return *m_conn; }
    // A second, independent connection to the same database.
    std::unique_ptr<db::Connection> openAnother() const;

    // First column of the first row of a query, or an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql);
    // Declared columns of a physical table, in order, lower-cased names.
    QStringList columns(const QString &table);
    bool tableExists(const QString &table);
    // Makes the engine refuse `event` ("insert", "update of bFlag") on the table, for rows that
    // meet the condition (NEW.column = ...; empty: every row), with the message given.
    void refuse(const QString &table,
                const QString &event,
                const QString &condition = QString(),
                const QString &message = QStringLiteral("refused"));

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_connectionString;
    std::unique_ptr<db::Connection> m_conn;
};

} // namespace vorlane::test
