#pragma once

#include "RecordedStatements.h"
#include "TestDatabase.h"

#include "entry/Defs.h"
#include "model/clsHrSysItemDict.h"
#include "model/clsHrSysSetDict.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <memory>

namespace vorlane::test {

// A fresh demo account database whose connection is the login context's shared connection for
// as long as it lives, so that the services under test run on it.
class ServiceDatabase
{
public:
    ServiceDatabase()
    {
        // The test database owns the connection; the login context only borrows it.
        Defs::instance().connection
            = std::shared_ptr<db::Connection>(&m_db.conn(), [](db::Connection *) {});
    }
    ~ServiceDatabase() { Defs::instance().connection.reset(); }

    TestDatabase &db() { return m_db; }
    db::Connection &conn() { return m_db.conn(); }

    // Runs native SQLite, for set-up and inspection that must not depend on the translator.
    void exec(const QString &sql) { m_db.conn().engine().ExecuteNative(sql); }

    int count(const QString &sql) { return m_db.scalar(sql).toInt(); }

    // The first row of a native query (NULL as an invalid QVariant).
    QVariantList row(const QString &sql)
    {
        QVariantList values;
        auto rs = m_db.conn().engine().QueryNative(sql);
        if (rs->Eof())
            return values;
        for (int i = 0; i < rs->FieldCount(); ++i)
            values << rs->FieldValue(i);
        return values;
    }

    // Tables, indexes and other objects of the account database's schema.
    int objectCount()
    {
        return count(TestDatabase::onPostgres()
                         ? QStringLiteral("select count(*) from pg_class c join pg_namespace n on "
                                          "n.oid = c.relnamespace where n.nspname = "
                                          "current_schema()")
                         : QStringLiteral("select count(*) from sqlite_master"));
    }

    // Indexes of a table whose names begin with a prefix.
    int indexCount(const QString &table, const QString &prefix)
    {
        return count(TestDatabase::onPostgres()
                         ? QStringLiteral("select count(*) from pg_indexes where schemaname = "
                                          "current_schema() and tablename = lower('%1') and "
                                          "indexname like lower('%2') || '%'")
                               .arg(table, prefix)
                         : QStringLiteral("select count(*) from sqlite_master where type='index' "
                                          "and tbl_name='%1' and name like '%2%'")
                               .arg(table, prefix));
    }

    // The first column of every row of a native query, as text.
    QStringList values(const QString &sql)
    {
        QStringList out;
        auto rs = m_db.conn().engine().QueryNative(sql);
        for (; !rs->Eof(); rs->MoveNext())
            out << rs->FieldValue(0).toString();
        return out;
    }

    // The same as texts; NULL reads as the empty text.
    QStringList texts(const QString &sql)
    {
        QStringList values;
        // A bit column reads as a Boolean; the tests compare the digits the statements wrote.
        for (const QVariant &v : row(sql))
            values << (v.typeId() == QMetaType::Bool ? QString::number(v.toInt()) : v.toString());
        return values;
    }

    // Changes made through this connection so far, DDL aside; on PostgreSQL the server's next
    // transaction id, which every statement that tries to write moves on (stricter).
    // Statements on this database that changed it so far: those that ran and touched rows, and
    // those whose effect is no row count (DDL). Counted on the connection, so that other tests
    // working on the same server never count.
    qint64 totalChanges()
    {
        return std::count_if(m_log->events.cbegin(), m_log->events.cend(), [](const auto &e) {
            return e.kind == db::StatementEvent::Kind::Execute && !e.failed() && e.rows != 0;
        });
    }

    // pragma table_info of a table: one entry per column, "name type notnull dflt pk" lower-case.
    // On PostgreSQL the test database's function of that name gives the T-SQL declared type.
    QStringList tableInfo(const QString &table)
    {
        QStringList columns;
        auto rs = m_db.conn().engine().QueryNative(
            QStringLiteral("select name, type, \"notnull\", dflt_value, pk "
                           "from pragma_table_info('%1')")
                .arg(table));
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList parts;
            for (int i = 0; i < 5; ++i)
                parts << (rs->FieldIsNull(i) ? QStringLiteral("-") : rs->FieldValue(i).toString());
            columns << parts.join(u' ').toLower();
        }
        return columns;
    }

private:
    TestDatabase m_db;
    RecorderScope m_log{m_db.conn()};
};

// The placeholder names of the statement templates, in the order setFrom() and itemFrom() take
// their values.
inline const QStringList setFields
    = QStringLiteral(
          "TableCode TableName description TableGroup TableClass CodeLen MultiLevel CodeFormat "
          "TableType CycleType BusinessFlag FunctionFlag sFlag ParentTable cFlag dFlag ShowOrder "
          "DisplayItem MainKey Display Memo")
          .split(u' ');
inline const QStringList itemFields
    = QStringLiteral(
          "TableCode ItemCode itemname description itemtype ReferenceObj LastLevelFalg itemlen "
          "itemdec sFlag rflag nflag sdefault sformat dFlag ShowOrder BusinessFlag DefaultField "
          "Display Memo")
          .split(u' ');

// Names paired with values, one by one.
inline QHash<QString, QString> named(const QStringList &names, const QStringList &values)
{
    QHash<QString, QString> out;
    for (qsizetype i = 0; i < names.size(); ++i)
        out.insert(names[i], values.value(i));
    return out;
}

// An information set from values split at `separator`, one per column of hr_sys_setdict in table
// order.
inline clsHrSysSetDict setFrom(const QString &values, QChar separator = u' ')
{
    const QStringList v = values.split(separator);
    clsHrSysSetDict s;
    s.setTableCode(v[0]);
    s.setTableName(v[1]);
    s.setDescription(v[2]);
    s.setTableGroup(v[3]);
    s.setTableClass(v[4]);
    s.setCodeLen(v[5].toInt());
    s.setMultiLevel(v[6]);
    s.setCodeFormat(v[7]);
    s.setTableType(v[8]);
    s.setCycleType(v[9]);
    s.setBusinessFlag(v[10]);
    s.setFunctionFlag(v[11]);
    s.setSFlag(v[12]);
    s.setParentTable(v[13]);
    s.setCFlag(v[14]);
    s.setDFlag(v[15]);
    s.setShowOrder(v[16]);
    s.setDisplayItem(v[17]);
    s.setMainKey(v[18]);
    s.setDisplay(qint16(v[19].toInt()));
    s.setMemo(v[20]);
    return s;
}

// An item from values split at `separator`, one per column of hr_sys_itemdict in table order.
inline clsHrSysItemDict itemFrom(const QString &values, QChar separator = u' ')
{
    const QStringList v = values.split(separator);
    const auto n = [&](int i) { return qint16(v.at(i).toInt()); };
    clsHrSysItemDict i;
    i.setTableCode(v[0]);
    i.setItemCode(v[1]);
    i.setItemname(v[2]);
    i.setDescription(v[3]);
    i.setItemtype(v[4]);
    i.setReferenceObj(v[5]);
    i.setLastLevelFalg(v[6]);
    i.setItemlen(v[7]);
    i.setItemdec(v[8]);
    i.setSFlag(n(9));
    i.setRflag(n(10));
    i.setNflag(n(11));
    i.setSdefault(v[12]);
    i.setSformat(v[13]);
    i.setDFlag(n(14));
    i.setShowOrder(n(15));
    i.setBusinessFlag(n(16));
    i.setDefaultField(n(17));
    i.setDisplay(n(18));
    i.setMemo(v[19]);
    return i;
}

} // namespace vorlane::test
