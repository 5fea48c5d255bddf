#include "OdbcEngine.h"

#include <QDateTime>

#include <sql.h>
#include <sqlext.h>

#include <vector>

namespace vorlane::db {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC is built with 16-bit SQLWCHAR");

const SQLWCHAR *wide(const QString &s)
{
    return reinterpret_cast<const SQLWCHAR *>(s.utf16());
}

// All diagnostic records of a handle, joined.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    QStringList parts;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR text[1024] = {};
        SQLSMALLINT len = 0;
        const SQLRETURN rc = SQLGetDiagRecW(type, handle, i, state, &native, text, 1024, &len);
        if (!SQL_SUCCEEDED(rc))
            break;
        parts << QString::fromUtf16(reinterpret_cast<const char16_t *>(text),
                                    qMin<int>(len, 1023));
    }
    return parts.isEmpty() ? QStringLiteral("ODBC 调用失败") : parts.join(QLatin1Char(' '));
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle)
{
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        throw DbError(diagnostics(type, handle));
}

int adoTypeFromSqlType(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_INTEGER:
        return adInteger;
    case SQL_SMALLINT:
        return adSmallInt;
    case SQL_TINYINT:
        return adUnsignedTinyInt;
    case SQL_BIGINT:
        return adBigInt;
    case SQL_BIT:
        return adBoolean;
    case SQL_CHAR:
        return adChar;
    case SQL_WCHAR:
        return adWChar;
    case SQL_VARCHAR:
        return adVarChar;
    case SQL_WVARCHAR:
        return adVarWChar;
    case SQL_LONGVARCHAR:
        return adLongVarChar;
    case SQL_WLONGVARCHAR:
        return adLongVarWChar;
    case SQL_REAL:
        return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return adDouble;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        return adNumeric;
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATETIME:
        return adDBTimeStamp;
    case SQL_TYPE_DATE:
        return adDBDate;
    case SQL_TYPE_TIME:
        return adDBTime;
    case SQL_GUID:
        return adGUID;
    case SQL_BINARY:
        return adBinary;
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return adVarBinary;
    default:
        return adVarWChar;
    }
}

// Reads every row at once: SQL Server without MARS allows one active result per connection,
// and the component runs statements while it walks a record set.
class OdbcRecordset final : public Recordset
{
public:
    explicit OdbcRecordset(SQLHSTMT stmt)
    {
        SQLSMALLINT cols = 0;
        check(SQLNumResultCols(stmt, &cols), SQL_HANDLE_STMT, stmt);
        QStringList names;
        QList<int> types;
        for (SQLUSMALLINT i = 1; i <= cols; ++i) {
            SQLWCHAR name[256] = {};
            SQLSMALLINT nameLen = 0, sqlType = 0, decimals = 0, nullable = 0;
            SQLULEN size = 0;
            check(SQLDescribeColW(stmt, i, name, 256, &nameLen, &sqlType, &size, &decimals, &nullable),
                  SQL_HANDLE_STMT,
                  stmt);
            names << QString::fromUtf16(reinterpret_cast<const char16_t *>(name),
                                        qMin<int>(nameLen, 255));
            types << adoTypeFromSqlType(sqlType);
        }
        setColumns(names, types);
        m_cols = cols;
        // The values of all rows in one array, sized at once where the driver knows how many
        // rows there are; one buffer for every text, rather than one per value.
        SQLLEN count = 0;
        if (SQL_SUCCEEDED(SQLRowCount(stmt, &count)) && count > 0)
            m_values.reserve(size_t(count) * size_t(cols));
        std::vector<char16_t> buffer(4096);
        for (;;) {
            const SQLRETURN rc = SQLFetch(stmt);
            if (rc == SQL_NO_DATA)
                break;
            check(rc, SQL_HANDLE_STMT, stmt);
            for (SQLUSMALLINT i = 1; i <= cols; ++i)
                m_values.push_back(readValue(stmt, i, types.at(i - 1), buffer));
            ++m_rows;
        }
        setEof(m_rows == 0);
    }

protected:
    bool fetchNext() override { return ++m_pos < m_rows; }
    QVariant valueAt(int index) const override { return at(index); }
    bool isNullAt(int index) const override { return !at(index).isValid(); }
    Plain plainAt(int index, QString &text, int &number) const override
    {
        const QVariant &v = at(index);
        switch (v.typeId()) {
        case QMetaType::UnknownType:
            return Plain::Null;
        case QMetaType::QString:
            text = *static_cast<const QString *>(v.constData());
            return Plain::Text;
        case QMetaType::Int:
            number = *static_cast<const int *>(v.constData());
            return Plain::Integer;
        case QMetaType::Bool:
            number = *static_cast<const bool *>(v.constData()) ? 1 : 0;
            return Plain::Integer;
        default:
            return Plain::Other;
        }
    }
    void closeImpl() override
    {
        m_values.clear();
        m_rows = 0;
    }

private:
    const QVariant &at(int index) const { return m_values[m_pos * m_cols + size_t(index)]; }

    static QVariant readValue(SQLHSTMT stmt, SQLUSMALLINT col, int type, std::vector<char16_t> &buf)
    {
        SQLLEN ind = 0;
        switch (type) {
        case adBoolean: {
            unsigned char v = 0;
            check(SQLGetData(stmt, col, SQL_C_BIT, &v, sizeof v, &ind), SQL_HANDLE_STMT, stmt);
            return ind == SQL_NULL_DATA ? QVariant() : QVariant(v != 0);
        }
        case adInteger:
        case adSmallInt:
        case adUnsignedTinyInt: {
            SQLINTEGER v = 0;
            check(SQLGetData(stmt, col, SQL_C_SLONG, &v, sizeof v, &ind), SQL_HANDLE_STMT, stmt);
            return ind == SQL_NULL_DATA ? QVariant() : QVariant(int(v));
        }
        case adBigInt: {
            SQLBIGINT v = 0;
            check(SQLGetData(stmt, col, SQL_C_SBIGINT, &v, sizeof v, &ind), SQL_HANDLE_STMT, stmt);
            return ind == SQL_NULL_DATA ? QVariant() : QVariant(qlonglong(v));
        }
        case adSingle:
        case adDouble:
        case adNumeric:
        case adCurrency: {
            double v = 0;
            check(SQLGetData(stmt, col, SQL_C_DOUBLE, &v, sizeof v, &ind), SQL_HANDLE_STMT, stmt);
            return ind == SQL_NULL_DATA ? QVariant() : QVariant(v);
        }
        case adDBTimeStamp:
        case adDBDate: {
            SQL_TIMESTAMP_STRUCT ts = {};
            check(SQLGetData(stmt, col, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind),
                  SQL_HANDLE_STMT,
                  stmt);
            if (ind == SQL_NULL_DATA)
                return {};
            return QVariant(QDateTime(QDate(ts.year, ts.month, ts.day),
                                      QTime(ts.hour, ts.minute, ts.second, ts.fraction / 1000000)));
        }
        default:
            return readText(stmt, col, buf);
        }
    }

    static QVariant readText(SQLHSTMT stmt, SQLUSMALLINT col, std::vector<char16_t> &buf)
    {
        QString text;
        for (;;) {
            SQLLEN ind = 0;
            const SQLRETURN rc = SQLGetData(stmt,
                                            col,
                                            SQL_C_WCHAR,
                                            buf.data(),
                                            SQLLEN(buf.size() * sizeof(char16_t)),
                                            &ind);
            if (rc == SQL_NO_DATA)
                break;
            check(rc, SQL_HANDLE_STMT, stmt);
            if (ind == SQL_NULL_DATA)
                return {};
            const qsizetype avail = qsizetype(buf.size()) - 1;
            const qsizetype got = (ind == SQL_NO_TOTAL || ind / 2 > avail) ? avail : ind / 2;
            text.append(QStringView(buf.data(), got));
            if (rc == SQL_SUCCESS)
                break;
        }
        return QVariant(text);
    }

    std::vector<QVariant> m_values; // row by row
    size_t m_cols = 0;
    size_t m_rows = 0;
    size_t m_pos = 0;
};

struct StatementHandle
{
    SQLHSTMT h = SQL_NULL_HSTMT;
    ~StatementHandle()
    {
        if (h)
            SQLFreeHandle(SQL_HANDLE_STMT, h);
    }
};

} // namespace

OdbcEngine::OdbcEngine(const QString &connectionString)
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        throw DbError(QStringLiteral("无法初始化 ODBC 环境"));
    m_env = env;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        Close();
        throw DbError(QStringLiteral("无法分配 ODBC 连接"));
    }
    m_dbc = dbc;
    SQLSMALLINT outLen = 0;
    const SQLRETURN rc = SQLDriverConnectW(dbc,
                                           nullptr,
                                           const_cast<SQLWCHAR *>(wide(connectionString)),
                                           SQL_NTS,
                                           nullptr,
                                           0,
                                           &outLen,
                                           SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const QString message = diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        m_dbc = nullptr;
        Close();
        throw DbError(QStringLiteral("无法连接 ODBC 数据源：%1").arg(message));
    }
    SQLWCHAR name[256] = {};
    SQLSMALLINT len = 0;
    if (SQL_SUCCEEDED(SQLGetInfoW(dbc, SQL_DBMS_NAME, name, sizeof name, &len)))
        m_dbmsName = QString::fromUtf16(reinterpret_cast<const char16_t *>(name),
                                        qMin<int>(len / 2, 255));
}

OdbcEngine::~OdbcEngine()
{
    Close();
}

long long OdbcEngine::ExecuteNative(const QString &sql)
{
    if (!m_dbc)
        throw DbError(QStringLiteral("数据库连接未打开"));
    StatementHandle stmt;
    check(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &stmt.h), SQL_HANDLE_DBC, m_dbc);
    const SQLRETURN rc = SQLExecDirectW(stmt.h, const_cast<SQLWCHAR *>(wide(sql)), SQL_NTS);
    check(rc, SQL_HANDLE_STMT, stmt.h);
    long long changed = 0;
    if (rc != SQL_NO_DATA) {
        // A batch yields one result per statement; walk them all so every error surfaces.
        for (;;) {
            SQLLEN rows = 0;
            if (SQL_SUCCEEDED(SQLRowCount(stmt.h, &rows)) && rows >= 0)
                changed = rows;
            const SQLRETURN more = SQLMoreResults(stmt.h);
            if (more == SQL_NO_DATA)
                break;
            check(more, SQL_HANDLE_STMT, stmt.h);
        }
    }
    return changed;
}

RecordsetPtr OdbcEngine::QueryNative(const QString &sql)
{
    if (!m_dbc)
        throw DbError(QStringLiteral("数据库连接未打开"));
    StatementHandle stmt;
    check(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &stmt.h), SQL_HANDLE_DBC, m_dbc);
    check(SQLExecDirectW(stmt.h, const_cast<SQLWCHAR *>(wide(sql)), SQL_NTS),
          SQL_HANDLE_STMT,
          stmt.h);
    return std::make_unique<OdbcRecordset>(stmt.h);
}

void OdbcEngine::Begin()
{
    if (!m_dbc)
        throw DbError(QStringLiteral("数据库连接未打开"));
    check(SQLSetConnectAttrW(m_dbc,
                             SQL_ATTR_AUTOCOMMIT,
                             reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                             0),
          SQL_HANDLE_DBC,
          m_dbc);
    m_inTransaction = true;
}

void OdbcEngine::endTransaction(bool commit)
{
    if (!m_dbc)
        throw DbError(QStringLiteral("数据库连接未打开"));
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_dbc, commit ? SQL_COMMIT : SQL_ROLLBACK);
    const QString error = SQL_SUCCEEDED(rc) ? QString() : diagnostics(SQL_HANDLE_DBC, m_dbc);
    SQLSetConnectAttrW(m_dbc,
                       SQL_ATTR_AUTOCOMMIT,
                       reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                       0);
    m_inTransaction = false;
    if (!error.isEmpty())
        throw DbError(error);
}

void OdbcEngine::Commit()
{
    endTransaction(true);
}

void OdbcEngine::Rollback()
{
    endTransaction(false);
}

void OdbcEngine::Close()
{
    if (m_dbc) {
        if (m_inTransaction)
            SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_ROLLBACK);
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        m_dbc = nullptr;
    }
    if (m_env) {
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
        m_env = nullptr;
    }
}

} // namespace vorlane::db
