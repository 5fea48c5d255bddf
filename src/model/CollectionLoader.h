#pragma once

#include "FieldReader.h"
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

    QString text(const db::Recordset &rs)
    {
        if (m_index < 0) {
            m_index = rs.FieldIndex(m_name);
            if (m_index < 0)
                throw db::DbError(QStringLiteral("记录集中没有字段“%1”").arg(m_name));
        }
        const QVariant value = rs.FieldValue(m_index);
        if (!value.isValid())
            throw ModelError(QStringLiteral("关键字段“%1”的值为 NULL").arg(m_name));
        return valueToText(value);
    }

private:
    QStringView m_name;
    int m_index = -1;
};

// Appends one record per row, keyed by keyOf(rs). Stops at the first error and returns false;
// what was added stays, the record that failed part-way included.
template<class Collection, class KeyOf>
bool loadCollection(Collection &collection, db::Connection &conn, const QString &sql, KeyOf keyOf)
{
    try {
        db::RecordsetPtr rs = conn.OpenRecordset(sql);
        while (!rs->Eof()) {
            // A QString, never a lazy concatenation of temporaries.
            const QString key = keyOf(*rs);
            auto record = collection.Add(key);
            record->LoadFromRecordset(*rs);
            rs->MoveNext();
        }
        rs->Close();
        return true;
    } catch (...) {
        // Load reports every failure as false only; the record set closes itself on unwinding.
        return false;
    }
}

// The login context's shared connection; db::DbError when there is none.
inline db::Connection &sharedConnection()
{
    return Defs::instance().conn();
}

} // namespace vorlane
