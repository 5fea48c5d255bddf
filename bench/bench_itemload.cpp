// Loading the item dictionary through clsHrSysItemDicts against the engine's bare driver loop
// that reads the same columns of the same rows into the same C++ values: sqlite3_step on SQLite,
// SQLExecDirect, SQLFetch and SQLGetData through unixODBC on PostgreSQL. The structure browser
// loads item dictionaries all the time, so the collection's cost over the driver must stay
// small: the ratio printed at the end is meant to stay at or below 1.5.

#include "BenchDatabase.h"

#include "db/Connection.h"
#include "model/clsHrSysItemDicts.h"

#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace vorlane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int Tables = 1000;
constexpr int ItemsPerTable = 100;
constexpr int Rows = Tables * ItemsPerTable;

const QString LoadSql = u"select * from hr_sys_itemdict"_s;

const char *const CreateSql
    = "create table hr_sys_itemdict (cTableCode varchar(50) not null, "
      "cItemCode varchar(50) not null, vItemName nvarchar(60), "
      "vdescription nvarchar(100), iItemType int, vReferenceObj varchar(50), "
      "bLastLevelFlag bit, iItemLen int, iItemDec int, bsysFlag bit, "
      "brecordFlag bit, bnullFlag bit, vDefault nvarchar(2000), "
      "vFormat varchar(50), bdelFlag bit, bdisplay bit, ishowOrder int, "
      "iBusinessFlag int, bdefault bit, vMemo nvarchar(100), "
      "primary key (cTableCode, cItemCode))";

void check(int rc, sqlite3 *db, int expected = SQLITE_OK)
{
    if (rc != expected)
        throw std::runtime_error(sqlite3_errmsg(db));
}

constexpr int Columns = 20;
// Item i of set t in the columns' order: QByteArray for text, int, or invalid for NULL.
using ItemRow = std::array<QVariant, Columns>;

ItemRow itemRow(int t, int i)
{
    static const char *const names[]
        = {"姓名", "性别", "出生日期", "民族", "籍贯", "学历", "职务", "备注"};
    const QByteArray table = "HR" + QByteArray::number(t).rightJustified(3, '0');
    const QByteArray name = QByteArray(names[i % 8]) + QByteArray::number(i);
    const int type = (i % 5 == 0) ? 13 : (i % 3) + 1;
    const QVariant null;
    return {table,
            QByteArray("cItem" + QByteArray::number(i)),
            name,
            i % 4 == 0 ? null : QVariant(name + "的说明"),
            type,
            i % 7 == 0 ? QVariant("HR_CT" + QByteArray::number(i % 50).rightJustified(3, '0'))
                       : null,
            i % 7 == 0 ? 1 : 0,
            10 + i % 40,
            type == 2 ? 2 : 0,
            i < 10 ? 0 : 1,
            i % 2,
            1,
            null,
            type == 13 ? QVariant(QByteArray("yyyy-mm-dd")) : null,
            0,
            1,
            i + 1,
            4,
            i < 10 ? 1 : 0,
            i % 10 == 0 ? QVariant(QByteArray("自定义项目")) : null};
}

void fillSqlite(const QString &path)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db);
    check(sqlite3_exec(db, CreateSql, nullptr, nullptr, nullptr), db);
    check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), db);
    sqlite3_stmt *ins = nullptr;
    check(sqlite3_prepare_v2(db,
                             "insert into hr_sys_itemdict values (?1, ?2, ?3, ?4, ?5, ?6, ?7, "
                             "?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20)",
                             -1,
                             &ins,
                             nullptr),
          db);
    for (int t = 0; t < Tables; ++t) {
        for (int i = 0; i < ItemsPerTable; ++i) {
            const ItemRow row = itemRow(t, i);
            for (int c = 0; c < Columns; ++c) {
                const QVariant &v = row[size_t(c)];
                if (!v.isValid()) {
                    sqlite3_bind_null(ins, c + 1);
                } else if (v.typeId() == QMetaType::Int) {
                    sqlite3_bind_int(ins, c + 1, v.toInt());
                } else {
                    const QByteArray text = v.toByteArray();
                    sqlite3_bind_text(
                        ins, c + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                }
            }
            check(sqlite3_step(ins), db, SQLITE_DONE);
            sqlite3_reset(ins);
        }
    }
    sqlite3_finalize(ins);
    check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// The table as the component creates it on the server (its T-SQL translated), filled by
// statements of a thousand rows.
void fillServer(vorlane::db::Connection &conn)
{
    conn.Execute(QString::fromUtf8(CreateSql));
    constexpr int RowsPerStatement = 1000;
    QString sql;
    for (int n = 0; n < Rows; ++n) {
        const ItemRow row = itemRow(n / ItemsPerTable, n % ItemsPerTable);
        sql += n % RowsPerStatement == 0 ? u"insert into hr_sys_itemdict values ("_s : u", ("_s;
        for (int c = 0; c < Columns; ++c) {
            const QVariant &v = row[size_t(c)];
            if (c > 0)
                sql += u", "_s;
            if (!v.isValid())
                sql += u"NULL"_s;
            else if (v.typeId() == QMetaType::Int)
                sql += QString::number(v.toInt());
            else
                sql += u'\'' + QString::fromUtf8(v.toByteArray()).replace(u'\'', u"''"_s) + u'\'';
        }
        sql += u')';
        if ((n + 1) % RowsPerStatement == 0 || n + 1 == Rows) {
            conn.engine().ExecuteNative(sql);
            sql.clear();
        }
    }
}

// An account database holding 100 000 information items: 1000 sets of 100 items, with Chinese
// names, some NULLs and the column types of the account database.
class ItemDatabase
{
public:
    ItemDatabase()
        : m_database(false)
    {
        if (onPostgres())
            fillServer(m_database.conn());
        else
            fillSqlite(m_database.path());
    }

    QString connectionString() const { return m_database.connectionString(); }
    QString path() const { return m_database.path(); }

private:
    TestDatabase m_database;
};

// Made by main before anything is timed, and dropped before it returns.
std::unique_ptr<ItemDatabase> g_items;

ItemDatabase &itemDatabase()
{
    return *g_items;
}

// The values an item record holds, with its property types.
struct RawItem
{
    QString tableCode, itemCode, itemName, description, itemType, referenceObj, lastLevelFlag,
        itemLen, itemDec;
    qint16 sysFlag, recordFlag, nullFlag;
    QString defaultValue, format;
    qint16 delFlag, display, showOrder, businessFlag, defaultField;
    QString memo;
};

// One row's values, each column read by `text` (a QString, null for NULL) or `integer` (NULL as
// 0, as the records keep it), given the column's index from 0.
template<class Text, class Integer>
RawItem rawItem(Text text, Integer integer)
{
    RawItem r;
    r.tableCode = text(0);
    r.itemCode = text(1);
    r.itemName = text(2);
    r.description = text(3);
    r.itemType = QString::number(integer(4));
    r.referenceObj = text(5);
    r.lastLevelFlag = QString::number(integer(6));
    r.itemLen = QString::number(integer(7));
    r.itemDec = QString::number(integer(8));
    r.sysFlag = qint16(integer(9));
    r.recordFlag = qint16(integer(10));
    r.nullFlag = qint16(integer(11));
    r.defaultValue = text(12);
    r.format = text(13);
    r.delFlag = qint16(integer(14));
    r.display = qint16(integer(15));
    r.showOrder = qint16(integer(16));
    r.businessFlag = qint16(integer(17));
    r.defaultField = qint16(integer(18));
    r.memo = text(19);
    return r;
}

void BM_RawSqliteStep(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(itemDatabase().path().toUtf8().constData(), &db), db);
    for (auto _ : state) {
        std::vector<RawItem> items;
        sqlite3_stmt *stmt = nullptr;
        check(sqlite3_prepare_v2(db, LoadSql.toUtf8().constData(), -1, &stmt, nullptr), db);
        const auto text = [stmt](int col) {
            const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
            return QString::fromUtf8(t, sqlite3_column_bytes(stmt, col));
        };
        const auto integer = [stmt](int col) { return sqlite3_column_int(stmt, col); };
        while (sqlite3_step(stmt) == SQLITE_ROW)
            items.push_back(rawItem(text, integer));
        sqlite3_finalize(stmt);
        if (items.size() != size_t(Rows))
            state.SkipWithError("raw loop read the wrong number of rows");
        benchmark::DoNotOptimize(items.data());
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Rows);
}

// The driver's first diagnostic record, or `what` when it has none.
std::string odbcError(SQLSMALLINT type, SQLHANDLE handle, const char *what)
{
    SQLCHAR sqlState[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR text[1024] = {};
    SQLSMALLINT len = 0;
    if (SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, sqlState, &native, text, sizeof text, &len)))
        return reinterpret_cast<const char *>(text);
    return what;
}

// A connection of the driver's own, without the component's engine.
class OdbcConnection
{
public:
    explicit OdbcConnection(const QString &connectionString)
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
            throw std::runtime_error("no ODBC environment");
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc)))
            throw std::runtime_error("no ODBC connection handle");
        if (!SQL_SUCCEEDED(
                SQLDriverConnectW(m_dbc,
                                  nullptr,
                                  const_cast<SQLWCHAR *>(
                                      reinterpret_cast<const SQLWCHAR *>(connectionString.utf16())),
                                  SQL_NTS,
                                  nullptr,
                                  0,
                                  nullptr,
                                  SQL_DRIVER_NOPROMPT)))
            throw std::runtime_error(odbcError(SQL_HANDLE_DBC, m_dbc, "cannot connect"));
        m_connected = true;
    }
    ~OdbcConnection()
    {
        if (m_connected)
            SQLDisconnect(m_dbc);
        if (m_dbc)
            SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        if (m_env)
            SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    OdbcConnection(const OdbcConnection &) = delete;
    OdbcConnection &operator=(const OdbcConnection &) = delete;

    SQLHDBC dbc() const { return m_dbc; }

private:
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    bool m_connected = false;
};

void BM_RawOdbcFetch(benchmark::State &state)
{
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC with 16-bit SQLWCHAR");
    const QString cs = itemDatabase().connectionString();
    std::unique_ptr<OdbcConnection> odbc;
    try {
        odbc = std::make_unique<OdbcConnection>(cs.mid(cs.indexOf(u':') + 1));
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
        return;
    }
    bool truncated = false;
    for (auto _ : state) {
        std::vector<RawItem> items;
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, odbc->dbc(), &stmt);
        const SQLRETURN rc = SQLExecDirectW(
            stmt,
            const_cast<SQLWCHAR *>(reinterpret_cast<const SQLWCHAR *>(LoadSql.utf16())),
            SQL_NTS);
        if (!SQL_SUCCEEDED(rc)) {
            state.SkipWithError(odbcError(SQL_HANDLE_STMT, stmt, "query failed").c_str());
            SQLFreeHandle(SQL_HANDLE_STMT, stmt);
            break;
        }
        // UTF-16 from the driver, as a QString holds it; every value here fits the buffer.
        const auto text = [stmt, &truncated](int col) {
            char16_t buffer[2048];
            SQLLEN ind = 0;
            const SQLRETURN got
                = SQLGetData(stmt, SQLUSMALLINT(col + 1), SQL_C_WCHAR, buffer, sizeof buffer, &ind);
            if (ind == SQL_NULL_DATA)
                return QString();
            truncated |= got != SQL_SUCCESS;
            return QString(reinterpret_cast<const QChar *>(buffer), qsizetype(ind) / 2);
        };
        const auto integer = [stmt](int col) {
            SQLINTEGER v = 0;
            SQLLEN ind = 0;
            SQLGetData(stmt, SQLUSMALLINT(col + 1), SQL_C_SLONG, &v, sizeof v, &ind);
            return ind == SQL_NULL_DATA ? 0 : int(v);
        };
        while (SQL_SUCCEEDED(SQLFetch(stmt)))
            items.push_back(rawItem(text, integer));
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        if (items.size() != size_t(Rows) || truncated)
            state.SkipWithError("raw loop read the wrong rows");
        benchmark::DoNotOptimize(items.data());
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_ItemDictsLoad(benchmark::State &state)
{
    vorlane::db::Connection conn;
    conn.Open(itemDatabase().connectionString());
    for (auto _ : state) {
        vorlane::clsHrSysItemDicts items;
        if (!items.Load(conn, LoadSql) || items.Count() != Rows)
            state.SkipWithError("clsHrSysItemDicts::Load failed");
        benchmark::DoNotOptimize(items.Count());
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

} // namespace

int main(int argc, char **argv)
{
    const int status = runBenchmarks(argc, argv, "the item dictionary", false, [] {
        g_items = std::make_unique<ItemDatabase>(); // the rows, before anything is timed
        // The engine's raw loop first; several iterations each, so both sides run on a warm heap.
        const char *raw = onPostgres() ? "BM_RawOdbcFetch" : "BM_RawSqliteStep";
        const char *rawLabel = onPostgres() ? "raw ODBC SQLFetch loop" : "raw sqlite3_step loop";
        for (benchmark::internal::Benchmark *b :
             {benchmark::RegisterBenchmark(raw, onPostgres() ? BM_RawOdbcFetch : BM_RawSqliteStep),
              benchmark::RegisterBenchmark("BM_ItemDictsLoad", BM_ItemDictsLoad)})
            b->Unit(benchmark::kMillisecond)->MinTime(2.0)->Apply(timing);
        return std::vector<RatioReporter::Ratio>{
            {std::string("clsHrSysItemDicts::Load / ") + rawLabel, "BM_ItemDictsLoad", raw, 1.5}};
    });
    g_items.reset();
    return status;
}
