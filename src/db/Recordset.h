#pragma once

#include "DbError.h"
#include "FieldType.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace vorlane::db {

class Recordset;

// A light handle on one column of the current row of a record set.
class Field
{
public:
    Field(const Recordset *rs, int index)
        : m_rs(rs)
        , m_index(index)
    {}

    QString Name() const;
    int Type() const;
    QVariant Value() const; // invalid QVariant for NULL
    bool IsNull() const;
    int Index() const { return m_index; }

private:
    const Recordset *m_rs;
    int m_index;
};

// Forward-only, read-only record set. Positioned on the first row after opening.
// Values of the current row stay valid until MoveNext or Close.
class Recordset
{
public:
    virtual ~Recordset() = default;

    bool Eof() const { return m_eof; }
    void MoveNext();
    void Close();
    bool IsOpen() const { return m_open; }

    int FieldCount() const { return int(m_names.size()); }
    Field Fields(int index) const;       // throws DbError when out of range
    Field Fields(QStringView name) const; // case-insensitive; throws DbError when unknown
    int FieldIndex(QStringView name) const; // -1 when unknown

    QString FieldName(int index) const { return m_names.at(index); }
    // For dialects whose engine reports names otherwise than the server would: the same columns
    // under the names given (as many as there are columns).
    void RenameFields(const QStringList &names) { setColumns(names, m_types); }
    int FieldType(int index) const { return m_types.at(index); }
    QVariant FieldValue(int index) const;
    bool FieldIsNull(int index) const;

    // For readers of many rows, FieldValue without a QVariant where the engine can: Null for
    // NULL, Text when FieldValue would hold a QString (text in a column of a text type), Integer
    // when it would hold an int or, for a bit column, a bool (given as 0 or 1). Other leaves the
    // caller to FieldValue.
    enum class Plain { Other, Null, Text, Integer };
    Plain FieldPlain(int index, QString &text, int &number) const
    {
        checkRow(index);
        return plainAt(index, text, number);
    }

protected:
    // Called by engines once the columns are known.
    void setColumns(const QStringList &names, const QList<int> &types);
    void setEof(bool eof) { m_eof = eof; }

    virtual bool fetchNext() = 0; // false at the end
    virtual QVariant valueAt(int index) const = 0;
    virtual bool isNullAt(int index) const = 0;
    virtual Plain plainAt(int, QString &, int &) const { return Plain::Other; }
    virtual void closeImpl() = 0;

    void checkRow(int index) const;

private:
    QStringList m_names;
    QList<int> m_types;
    QHash<QString, int> m_byLowerName;
    QList<bool> m_firstOfName;   // per column: no earlier column has its name
    mutable int m_nextGuess = 0; // records read their columns in order; try the next one first
    bool m_eof = true;
    bool m_open = true;
};

using RecordsetPtr = std::unique_ptr<Recordset>;

} // namespace vorlane::db
