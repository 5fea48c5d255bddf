#pragma once

#include "db/Engine.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>

namespace vorlane::host {

// Writes schema and seed rows of the account database in the native statements of one engine.
// Column declarations are given with SQL Server types; text columns get the engine's
// case-insensitive collation so codes and names compare as they do on SQL Server.
class SeedWriter
{
public:
    enum class Flavor { Sqlite, SqlServer };

    SeedWriter(db::Engine &engine, Flavor flavor);

    Flavor flavor() const { return m_flavor; }
    db::Engine &engine() { return m_engine; }

    // columns: "name type [not null] [default x], ..."; primaryKey: "col[, col]" or empty.
    void createTable(const QString &table, const QString &columns, const QString &primaryKey);
    void createIndex(const QString &table, const QString &columns, bool unique = false);
    void exec(const QString &nativeSql);

    // The column list with the collation added after every character type.
    QString collated(const QString &columns) const;
    // A value as a literal: invalid QVariant is NULL, numbers and bools as digits, text quoted.
    QString literal(const QVariant &value) const;

    // Multi-row inserts into one table, sent in chunks.
    class Batch
    {
    public:
        Batch(SeedWriter &writer, const QString &table, const QStringList &columns);
        ~Batch() noexcept(false);
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

        void add(std::initializer_list<QVariant> values);
        void add(const QVariantList &values);
        void flush();
        int count() const { return m_total; }

    private:
        SeedWriter &m_writer;
        QString m_head;
        int m_columnCount;
        QStringList m_rows;
        int m_total = 0;
    };

private:
    db::Engine &m_engine;
    Flavor m_flavor;
    int m_indexCount = 0;
};

} // namespace vorlane::host
