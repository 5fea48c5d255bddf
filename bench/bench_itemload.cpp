// Loading the item dictionary through clsHrSysItemDicts against a bare sqlite3_step loop that
// reads the same columns of the same rows into the same C++ values. The structure browser loads
// item dictionaries all the time, so the collection's cost over the engine must stay small:
// the ratio printed at the end is meant to stay at or below 1.5.

#include "db/Connection.h"
#include "model/clsHrSysItemDicts.h"

#include <QTemporaryDir>

#include "RatioReporter.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Tables = 1000;
constexpr int ItemsPerTable = 100;
constexpr int Rows = Tables * ItemsPerTable;

const QString LoadSql = u"select * from hr_sys_itemdict"_s;

void check(int rc, sqlite3 *db, int expected = SQLITE_OK)
{
    if (rc != expected)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// A temporary account database holding 100 000 information items: 1000 sets of 100 items, with
// Chinese names, some NULLs and the column types of the account database.
class ItemDatabase
{
public:
    ItemDatabase()
    {
        if (!m_dir.isValid())
            throw std::runtime_error("no temporary directory");
        m_path = m_dir.filePath(u"items.db"_s);
        sqlite3 *db = nullptr;
        check(sqlite3_open(m_path.toUtf8().constData(), &db), db);
        check(sqlite3_exec(db,
                           "create table hr_sys_itemdict (cTableCode varchar(50) not null, "
                           "cItemCode varchar(50) not null, vItemName nvarchar(60), "
                           "vdescription nvarchar(100), iItemType int, vReferenceObj varchar(50), "
                           "bLastLevelFlag bit, iItemLen int, iItemDec int, bsysFlag bit, "
                           "brecordFlag bit, bnullFlag bit, vDefault nvarchar(2000), "
                           "vFormat varchar(50), bdelFlag bit, bdisplay bit, ishowOrder int, "
                           "iBusinessFlag int, bdefault bit, vMemo nvarchar(100), "
                           "primary key (cTableCode, cItemCode))",
                           nullptr,
                           nullptr,
                           nullptr),
              db);
        check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), db);
        sqlite3_stmt *ins = nullptr;
        check(sqlite3_prepare_v2(db,
                                 "insert into hr_sys_itemdict values (?1, ?2, ?3, ?4, ?5, ?6, ?7, "
                                 "?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20)",
                                 -1,
                                 &ins,
                                 nullptr),
              db);
        const char *names[] = {"姓名", "性别", "出生日期", "民族", "籍贯", "学历", "职务", "备注"};
        for (int t = 0; t < Tables; ++t) {
            const QByteArray table = "HR" + QByteArray::number(t).rightJustified(3, '0');
            for (int i = 0; i < ItemsPerTable; ++i) {
                const QByteArray item = "cItem" + QByteArray::number(i);
                const QByteArray name = QByteArray(names[i % 8]) + QByteArray::number(i);
                const int type = (i % 5 == 0) ? 13 : (i % 3) + 1;
                auto text = [&](int col, const QByteArray &v) {
                    sqlite3_bind_text(ins, col, v.constData(), int(v.size()), SQLITE_TRANSIENT);
                };
                text(1, table);
                text(2, item);
                text(3, name);
                if (i % 4 == 0)
                    sqlite3_bind_null(ins, 4);
                else
                    text(4, name + "的说明");
                sqlite3_bind_int(ins, 5, type);
                if (i % 7 == 0)
                    text(6, "HR_CT" + QByteArray::number(i % 50).rightJustified(3, '0'));
                else
                    sqlite3_bind_null(ins, 6);
                sqlite3_bind_int(ins, 7, i % 7 == 0 ? 1 : 0);
                sqlite3_bind_int(ins, 8, 10 + i % 40);
                sqlite3_bind_int(ins, 9, type == 2 ? 2 : 0);
                sqlite3_bind_int(ins, 10, i < 10 ? 0 : 1);
                sqlite3_bind_int(ins, 11, i % 2);
                sqlite3_bind_int(ins, 12, 1);
                sqlite3_bind_null(ins, 13);
                if (type == 13)
                    text(14, "yyyy-mm-dd");
                else
                    sqlite3_bind_null(ins, 14);
                sqlite3_bind_int(ins, 15, 0);
                sqlite3_bind_int(ins, 16, 1);
                sqlite3_bind_int(ins, 17, i + 1);
                sqlite3_bind_int(ins, 18, 4);
                sqlite3_bind_int(ins, 19, i < 10 ? 1 : 0);
                if (i % 10 == 0)
                    text(20, "自定义项目");
                else
                    sqlite3_bind_null(ins, 20);
                check(sqlite3_step(ins), db, SQLITE_DONE);
                sqlite3_reset(ins);
            }
        }
        sqlite3_finalize(ins);
        check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
    }

    QString path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

ItemDatabase &itemDatabase()
{
    static ItemDatabase db;
    return db;
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

QString textAt(sqlite3_stmt *stmt, int col)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, col));
}

// Integer columns read as text keep NULL as "0", like the records do.
QString numberTextAt(sqlite3_stmt *stmt, int col)
{
    return QString::number(sqlite3_column_int(stmt, col));
}

qint16 int16At(sqlite3_stmt *stmt, int col)
{
    return qint16(sqlite3_column_int(stmt, col));
}

void BM_RawSqliteStep(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(itemDatabase().path().toUtf8().constData(), &db), db);
    for (auto _ : state) {
        std::vector<RawItem> items;
        sqlite3_stmt *stmt = nullptr;
        check(sqlite3_prepare_v2(db, LoadSql.toUtf8().constData(), -1, &stmt, nullptr), db);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            RawItem r;
            r.tableCode = textAt(stmt, 0);
            r.itemCode = textAt(stmt, 1);
            r.itemName = textAt(stmt, 2);
            r.description = textAt(stmt, 3);
            r.itemType = numberTextAt(stmt, 4);
            r.referenceObj = textAt(stmt, 5);
            r.lastLevelFlag = numberTextAt(stmt, 6);
            r.itemLen = numberTextAt(stmt, 7);
            r.itemDec = numberTextAt(stmt, 8);
            r.sysFlag = int16At(stmt, 9);
            r.recordFlag = int16At(stmt, 10);
            r.nullFlag = int16At(stmt, 11);
            r.defaultValue = textAt(stmt, 12);
            r.format = textAt(stmt, 13);
            r.delFlag = int16At(stmt, 14);
            r.display = int16At(stmt, 15);
            r.showOrder = int16At(stmt, 16);
            r.businessFlag = int16At(stmt, 17);
            r.defaultField = int16At(stmt, 18);
            r.memo = textAt(stmt, 19);
            items.push_back(std::move(r));
        }
        sqlite3_finalize(stmt);
        if (items.size() != size_t(Rows))
            state.SkipWithError("raw loop read the wrong number of rows");
        benchmark::DoNotOptimize(items.data());
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Rows);
}
// Several iterations each, so both sides run on a warm heap.
BENCHMARK(BM_RawSqliteStep)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ItemDictsLoad(benchmark::State &state)
{
    vorlane::db::Connection conn;
    conn.Open(u"sqlite:"_s + itemDatabase().path());
    for (auto _ : state) {
        vorlane::clsHrSysItemDicts items;
        if (!items.Load(conn, LoadSql) || items.Count() != Rows)
            state.SkipWithError("clsHrSysItemDicts::Load failed");
        benchmark::DoNotOptimize(items.Count());
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_ItemDictsLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    itemDatabase(); // generate the rows before anything is timed
    RatioReporter reporter({{"clsHrSysItemDicts::Load / raw sqlite3_step loop",
                             "BM_ItemDictsLoad",
                             "BM_RawSqliteStep",
                             1.5}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
