#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>

#include <vector>

namespace vorlane {

namespace db {
class Recordset;
}

// Conversions of a field value (after NullSafeValue) to the types of record properties, with
// the rules records have always had: numbers become their decimal text, texts that hold a number
// convert to integers (rounded half to even), and anything else, the empty text included, is a
// conversion error. `column` only names the column in the error message.
QString valueToText(const QVariant &value);
qint16 valueToInt16(const QVariant &value, QStringView column);
qint32 valueToInt32(const QVariant &value, QStringView column);

// Text with the blanks at both ends removed (blanks only, the padding of fixed-width columns).
QString trimBlanks(const QString &text);

// While it lives, the FieldReaders on its record set remember which column each of their reads
// (first, second, ...) found for which name, so that on the next rows the same name (the same
// characters at the same address: the column names records read are literals) skips the lookup
// without regard to case. Collections' Load keeps one for its row loop.
class ColumnCache
{
public:
    explicit ColumnCache(const db::Recordset &rs);
    ~ColumnCache();
    ColumnCache(const ColumnCache &) = delete;
    ColumnCache &operator=(const ColumnCache &) = delete;

private:
    friend class FieldReader;
    static ColumnCache *forRecordset(const db::Recordset &rs);

    const db::Recordset &m_rs;
    ColumnCache *m_outer;
    struct Column
    {
        QStringView name;
        int index;
    };
    std::vector<Column> m_columns; // by order of reading
};

// Reads columns of the current row by name, each value through NullSafeValue with its field type.
// A missing column raises db::DbError, a value that does not convert ModelError.
class FieldReader
{
public:
    explicit FieldReader(db::Recordset &rs)
        : m_rs(rs)
        , m_cache(ColumnCache::forRecordset(rs))
    {}

    QString readText(QStringView column);
    qint16 readInt16(QStringView column);
    qint32 readInt32(QStringView column);

    // Column names are literals; taking their length from the array spares a scan per field.
    template<qsizetype N>
    QString readText(const char16_t (&column)[N])
    {
        return readText(QStringView(column, N - 1));
    }
    template<qsizetype N>
    qint16 readInt16(const char16_t (&column)[N])
    {
        return readInt16(QStringView(column, N - 1));
    }
    template<qsizetype N>
    qint32 readInt32(const char16_t (&column)[N])
    {
        return readInt32(QStringView(column, N - 1));
    }

private:
    int indexOf(QStringView column);
    template<typename Int>
    Int readInteger(QStringView column);
    QVariant valueAt(int index); // through NullSafeValue

    db::Recordset &m_rs;
    ColumnCache *m_cache;
    size_t m_reads = 0;
};

} // namespace vorlane
