#pragma once

#include "FieldReader.h"
#include "KeyedCollection.h"
#include "ModelError.h"
#include "db/Connection.h"
#include "entry/Defs.h"

#include <QString>

namespace vorlane {

// One column of the key that Load builds for each row. The column is looked up once per record
// set; a NULL key is an error, any other value becomes its text.
class KeyColumn
{
public:
    explicit KeyColumn(QStringView name)
        : m_name(name)
    {}

    // Raises unless the current row has a value in the column.
    void require(const db::Recordset &rs)
    {
        if (rs.FieldIsNull(index(rs)))
            throw ModelError(QStringLiteral("关键字段“%1”的值为 NULL").arg(m_name));
    }

    QString text(const db::Recordset &rs)
    {
        require(rs);
        return valueToText(rs.FieldValue(m_index));
    }

private:
    int index(const db::Recordset &rs)
    {
        if (m_index < 0) {
            m_index = rs.FieldIndex(m_name);
            if (m_index < 0)
                throw db::DbError(QStringLiteral("记录集中没有字段“%1”").arg(m_name));
        }
        return m_index;
    }

    QStringView m_name;
    int m_index = -1;
};

// Appends one record per row, keyed by rowKey(rs), which is built before the record loads.
// Stops at the first error and returns false; what was added stays, the record that failed
// part-way included.
template<class Record>
template<class RowKey>
bool KeyedCollection<Record>::loadRows(db::Connection &conn, const QString &sql, RowKey rowKey)
{
    try {
        db::RecordsetPtr rs = conn.OpenRecordset(sql);
        const ColumnCache cache(*rs);
        while (!rs->Eof()) {
            const QString key = rowKey(*rs); // a QString, never a concatenation of temporaries
            Add(key)->LoadFromRecordset(*rs);
            rs->MoveNext();
        }
        rs->Close();
        return true;
    } catch (...) {
        // Load reports every failure as false only; the record set closes itself on unwinding.
        return false;
    }
}

// The same, for keys that the loaded record's text properties hold as the row does: the key
// columns are only checked before loading, and the key is taken from the record afterwards, so
// that each key column is read once per row. The keys go into the index in batches (when the rows
// end or a row stops the load), which lets the index fetch its memory ahead. The outcome is the
// one of the loop above: a NULL key adds nothing, a duplicate key adds nothing and nothing after
// it, a record that fails part-way stays under the key of its row.
template<class Record>
template<class RowKey, class RecordKey>
bool KeyedCollection<Record>::loadRows(db::Connection &conn,
                                       const QString &sql,
                                       RowKey rowKey,
                                       RecordKey recordKey,
                                       std::initializer_list<QStringView> keyColumns)
{
    // False when a key was there already: the records from that one on are dropped.
    const auto indexKeys = [this] {
        const qsizetype duplicate = m_keys.commitDeferred();
        if (duplicate < 0)
            return true;
        m_records.resize(size_t(duplicate));
        return false;
    };
    try {
        db::RecordsetPtr rs = conn.OpenRecordset(sql);
        std::vector<KeyColumn> columns(keyColumns.begin(), keyColumns.end());
        const ColumnCache cache(*rs);
        KeyText key;
        while (!rs->Eof()) {
            for (KeyColumn &column : columns)
                column.require(*rs);
            RecordPtr record = newRecord();
            try {
                record->LoadFromRecordset(*rs);
            } catch (...) {
                if (indexKeys())
                    append(rowKey(*rs), record);
                throw;
            }
            key.clear();
            recordKey(*record, key);
            m_records.push_back(record);
            m_keys.appendDeferred(QStringView(key.constData(), key.size()));
            rs->MoveNext();
        }
        rs->Close();
        return indexKeys();
    } catch (...) {
        indexKeys();
        return false;
    }
}

// The login context's shared connection; db::DbError when there is none.
inline db::Connection &sharedConnection()
{
    return Defs::instance().conn();
}

} // namespace vorlane
