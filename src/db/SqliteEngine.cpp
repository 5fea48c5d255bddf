#include "SqliteEngine.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <climits>
#include <cmath>

namespace vorlane::db {

namespace {

// The database's message; a lock that outlasted the wait says which file is held.
QString errorText(sqlite3 *db)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    if ((sqlite3_extended_errcode(db) & 0xff) == SQLITE_BUSY) {
        const char *file = sqlite3_db_filename(db, "main");
        return QStringLiteral("数据库文件 %1 被其他连接锁定，等待后仍未释放（%2）")
            .arg(QString::fromUtf8(file ? file : ""), message);
    }
    return message;
}

// A second process waits this long for a lock before the statement fails.
constexpr int BusyTimeoutMs = 10000;
// How often opening reads the schema again when another connection changed it meanwhile.
constexpr int SchemaRetries = 20;

class SqliteRecordset final : public Recordset
{
public:
    SqliteRecordset(sqlite3 *db, sqlite3_stmt *stmt)
        : m_db(db)
        , m_stmt(stmt)
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            const QString message = errorText(m_db);
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            throw DbError(message);
        }
        const int n = sqlite3_column_count(m_stmt);
        QStringList names;
        QList<int> types;
        names.reserve(n);
        types.reserve(n);
        for (int i = 0; i < n; ++i) {
            names << QString::fromUtf8(sqlite3_column_name(m_stmt, i));
            int type = adoTypeFromDeclaredType(
                QString::fromUtf8(sqlite3_column_decltype(m_stmt, i)));
            if (type == adEmpty)
                type = typeOfValue(rc == SQLITE_ROW ? sqlite3_column_type(m_stmt, i) : SQLITE_NULL);
            types << type;
        }
        setColumns(names, types);
        setEof(rc != SQLITE_ROW);
    }

    ~SqliteRecordset() override { closeImpl(); }

protected:
    bool fetchNext() override
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw DbError(errorText(m_db));
    }

    bool isNullAt(int index) const override
    {
        return sqlite3_column_type(m_stmt, index) == SQLITE_NULL;
    }

    QVariant valueAt(int index) const override
    {
        const int storage = sqlite3_column_type(m_stmt, index);
        if (storage == SQLITE_NULL)
            return {};
        const int type = FieldType(index);
        if (storage == SQLITE_TEXT && isNumericType(type)) {
            // SQL Server converts a quoted value when it stores it in a number or bit column
            // ('' becomes 0); SQLite keeps the text, so the conversion happens on reading.
            const QString text = textAt(index).trimmed();
            bool ok = text.isEmpty();
            const double number = ok ? 0.0 : text.toDouble(&ok);
            if (ok) {
                if (type == adBoolean)
                    return QVariant(number != 0.0);
                if (type == adDouble || type == adSingle || type == adNumeric || type == adCurrency)
                    return QVariant(number);
                if (type != adBigInt && number >= INT_MIN && number <= INT_MAX
                    && number == double(int(number)))
                    return QVariant(int(number));
                if (std::abs(number) < 9.0e18 && number == double(qint64(number)))
                    return QVariant(qlonglong(number));
            }
            return QVariant(textAt(index));
        }
        switch (type) {
        case adBoolean:
            if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
                return QVariant(sqlite3_column_int64(m_stmt, index) != 0);
            break;
        case adInteger:
        case adSmallInt:
        case adTinyInt:
        case adUnsignedTinyInt:
            if (storage == SQLITE_INTEGER)
                return QVariant(sqlite3_column_int(m_stmt, index));
            if (storage == SQLITE_FLOAT)
                return QVariant(sqlite3_column_double(m_stmt, index));
            break;
        case adBigInt:
            if (storage == SQLITE_INTEGER)
                return QVariant(qlonglong(sqlite3_column_int64(m_stmt, index)));
            break;
        case adDouble:
        case adSingle:
        case adNumeric:
        case adCurrency:
            if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
                return QVariant(sqlite3_column_double(m_stmt, index));
            break;
        case adDBTimeStamp:
        case adDBDate:
            if (storage == SQLITE_TEXT) {
                const QString text = textAt(index);
                QDateTime dt = QDateTime::fromString(text, Qt::ISODateWithMs);
                if (!dt.isValid())
                    dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
                if (!dt.isValid())
                    dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                if (!dt.isValid()) {
                    const QDate d = QDate::fromString(text, Qt::ISODate);
                    if (d.isValid())
                        dt = d.startOfDay();
                }
                if (dt.isValid())
                    return QVariant(dt);
            }
            break;
        default:
            break;
        }
        // The declared type did not say otherwise: the stored value as it is.
        switch (storage) {
        case SQLITE_INTEGER: {
            const sqlite3_int64 v = sqlite3_column_int64(m_stmt, index);
            if (v >= INT_MIN && v <= INT_MAX)
                return QVariant(int(v));
            return QVariant(qlonglong(v));
        }
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_stmt, index));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, index)),
                                       sqlite3_column_bytes(m_stmt, index)));
        default:
            return QVariant(textAt(index));
        }
    }

    // The cases of valueAt that a loader of many rows meets nearly always.
    Plain plainAt(int index, QString &text, int &number) const override
    {
        const int storage = sqlite3_column_type(m_stmt, index);
        if (storage == SQLITE_NULL)
            return Plain::Null;
        const int type = FieldType(index);
        if (storage == SQLITE_TEXT) {
            if (isNumericType(type) || type == adDBTimeStamp || type == adDBDate)
                return Plain::Other;
            text = textAt(index);
            return Plain::Text;
        }
        if (storage != SQLITE_INTEGER)
            return Plain::Other;
        switch (type) {
        case adBoolean:
            number = sqlite3_column_int64(m_stmt, index) != 0 ? 1 : 0;
            return Plain::Integer;
        case adInteger:
        case adSmallInt:
        case adTinyInt:
        case adUnsignedTinyInt:
            number = sqlite3_column_int(m_stmt, index);
            return Plain::Integer;
        default:
            return Plain::Other;
        }
    }

    void closeImpl() override
    {
        if (m_stmt) {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
        }
    }

private:
    static bool isNumericType(int type)
    {
        switch (type) {
        case adBoolean:
        case adInteger:
        case adSmallInt:
        case adTinyInt:
        case adUnsignedTinyInt:
        case adBigInt:
        case adDouble:
        case adSingle:
        case adNumeric:
        case adCurrency:
            return true;
        default:
            return false;
        }
    }

    static int typeOfValue(int storage)
    {
        switch (storage) {
        case SQLITE_INTEGER:
            return adInteger;
        case SQLITE_FLOAT:
            return adDouble;
        case SQLITE_BLOB:
            return adVarBinary;
        default:
            return adVarWChar;
        }
    }

    QString textAt(int index) const
    {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, index));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, index));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt;
};

} // namespace

SqliteEngine::SqliteEngine(const QString &path)
    : m_path(path)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty())
        throw DbError(QStringLiteral("连接字符串中没有数据库文件路径"));
    if (!info.absoluteDir().exists())
        throw DbError(QStringLiteral("数据库文件所在的目录不存在：%1")
                          .arg(QDir::toNativeSeparators(info.absolutePath())));
    if (info.exists() && info.isDir())
        throw DbError(QStringLiteral("数据库路径是一个目录：%1").arg(QDir::toNativeSeparators(path)));

    const int rc = sqlite3_open_v2(path.toUtf8().constData(),
                                   &m_db,
                                   // one connection is never shared between threads
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                       | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                     : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(QStringLiteral("无法打开数据库文件 %1：%2")
                          .arg(QDir::toNativeSeparators(path), message));
    }
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
    // Reading the schema tells at once whether the file is a database and whether it is locked.
    // Other operators creating tables meanwhile make the read meet a changed schema: read again.
    char *err = nullptr;
    int rc2 = SQLITE_OK;
    for (int attempt = 0; attempt < SchemaRetries; ++attempt) {
        sqlite3_free(err);
        err = nullptr;
        rc2 = sqlite3_exec(m_db, "select count(*) from sqlite_master", nullptr, nullptr, &err);
        if ((rc2 & 0xff) != SQLITE_SCHEMA)
            break;
        sqlite3_sleep(1 + attempt);
    }
    // Readers go on while one operator writes; several processes on one machine share the file.
    // A file that cannot change its journal (read-only, in memory) stays as it is.
    if (rc2 == SQLITE_OK)
        sqlite3_exec(m_db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    if (rc2 != SQLITE_OK) {
        const QString message = err && (sqlite3_extended_errcode(m_db) & 0xff) != SQLITE_BUSY
                                    ? QString::fromUtf8(err)
                                    : errorText(m_db);
        sqlite3_free(err);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(QStringLiteral("无法打开数据库文件 %1：%2")
                          .arg(QDir::toNativeSeparators(path), message));
    }
}

SqliteEngine::~SqliteEngine()
{
    Close();
}

QString SqliteEngine::DbmsName() const
{
    return QStringLiteral("SQLite");
}

void SqliteEngine::fail() const
{
    throw DbError(errorText(m_db));
}

long long SqliteEngine::ExecuteNative(const QString &sql)
{
    if (!m_db)
        throw DbError(QStringLiteral("数据库连接未打开"));
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = utf8.constData();
    const char *end = tail + utf8.size();
    long long changed = 0;
    while (tail < end) {
        sqlite3_stmt *stmt = nullptr;
        const char *next = nullptr;
        if (sqlite3_prepare_v2(m_db, tail, int(end - tail), &stmt, &next) != SQLITE_OK)
            fail();
        tail = next;
        if (!stmt) // only blanks or comments were left
            continue;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            const QString message = errorText(m_db);
            sqlite3_finalize(stmt);
            throw DbError(message);
        }
        if (!sqlite3_stmt_readonly(stmt))
            changed = sqlite3_changes64(m_db);
        sqlite3_finalize(stmt);
    }
    return changed;
}

RecordsetPtr SqliteEngine::QueryNative(const QString &sql)
{
    if (!m_db)
        throw DbError(QStringLiteral("数据库连接未打开"));
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        fail();
    if (!stmt)
        throw DbError(QStringLiteral("查询语句为空"));
    return std::make_unique<SqliteRecordset>(m_db, stmt);
}

void SqliteEngine::Begin()
{
    // The write lock is taken now, waiting for it when another connection holds it: a deferred
    // transaction that has read could not take it later while another connection waits for it,
    // and would fail at once instead of waiting.
    ExecuteNative(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteEngine::Commit()
{
    ExecuteNative(QStringLiteral("COMMIT"));
}

void SqliteEngine::Rollback()
{
    // A failed statement may already have ended the transaction; that is not an error here.
    if (m_db && !sqlite3_get_autocommit(m_db))
        ExecuteNative(QStringLiteral("ROLLBACK"));
}

void SqliteEngine::setBusyTimeout(int milliseconds)
{
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

void SqliteEngine::Close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

} // namespace vorlane::db
