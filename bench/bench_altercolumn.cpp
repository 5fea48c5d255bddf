// Lengthening a text column, or widening a numeric one, of an information set must not depend on
// how many rows the set holds: the item modification dialog runs the ALTER COLUMN statement that
// ColumnStatements builds inside a transaction, and on the embedded database it only rewrites the
// declared type. The ratio printed at the end, a set of 1 000 000 rows against an empty one, is
// meant to stay at or below 2.

#include "BenchDatabase.h"

#include "db/Connection.h"
#include "entry/Defs.h"
#include "services/ColumnStatements.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

using namespace vorlane;
using namespace vorlane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int Rows = 1000000;
const QString Full = u"HR_FULL"_s;
const QString Empty = u"HR_EMPTY"_s;

// One account database with two person sets of the same columns, one of them filled.
class SetTables
{
public:
    SetTables()
        : m_database(false)
        , m_conn(sharedConnection(m_database))
    {
        Defs::instance().connection = m_conn;
        clsHrSysSetDictsFace sets;
        clsHrSysItemDictsFace items;
        for (const QString &t : {Full, Empty}) {
            const QString add = ColumnStatements::AddStatement(
                t,
                {ColumnStatements::AddDefinition(u"cName"_s, u"2"_s, u"varchar"_s, u"20"_s, {}),
                 ColumnStatements::AddDefinition(
                     u"nPay"_s, u"4"_s, u"numeric"_s, u"12"_s, u"2"_s)});
            if (!sets.CreateTable(t, u"R1"_s) || !items.InsertTableField(add))
                throw std::runtime_error(
                    QString(sets.lastError() + items.lastError()).toStdString());
        }
        // GUID keys: the server's type wants them cast from text.
        const QString key = hexPadded(u"i"_s, 8) + u" || '-0000-4000-8000-' || "_s
                            + hexPadded(u"CAST(i AS bigint) * 7919"_s, 12);
        m_conn->BeginTrans();
        m_conn->engine().ExecuteNative(
            u"insert into "_s + Full + u" (PK_"_s + Full
            + u", cPsn_Num, iRecordID, blastflag, vstatus1, nstatus2, cName, nPay) "_s
            + numbers(Rows) + u"select "_s
            + (onPostgres() ? u"CAST("_s + key + u" AS uuid)"_s : key) + u", "_s
            + zeroPadded(u"i"_s, 10) + u", i, 1, '在职', i % 7, '员工' || i, i * 1.25 from n"_s);
        m_conn->CommitTrans();
        auto rs = m_conn->engine().QueryNative(u"select count(*) from "_s + Full);
        if (rs->FieldValue(0).toInt() != Rows)
            throw std::runtime_error("set table generated with the wrong size");
    }

    db::Connection &conn() { return *m_conn; }
    void use() { Defs::instance().connection = m_conn; }

private:
    TestDatabase m_database;
    std::shared_ptr<db::Connection> m_conn;
};

// Made by main before anything is timed, and dropped before it returns.
std::unique_ptr<SetTables> g_tables;

SetTables &tables()
{
    return *g_tables;
}

// As the modification dialog does it: one transaction around the alter statement.
template<class Definition>
void alterLoop(benchmark::State &state, Definition definition)
{
    SetTables &t = tables();
    t.use();
    const QString table = state.range(0) ? Full : Empty;
    clsHrSysItemDictsFace items;
    // Lengths keep growing from one run of the benchmark to the next: a shorter text column
    // reads every row for values that no longer fit, as the server does.
    static std::map<QString, int> steps;
    int &step = steps[table];
    for (auto _ : state) {
        const QString sql = ColumnStatements::AlterStatement(table, definition(step++));
        t.conn().BeginTrans();
        if (!items.UpdateTableField(sql)) {
            state.SkipWithError(qPrintable(items.lastError()));
            t.conn().RollbackTrans();
            break;
        }
        t.conn().CommitTrans();
    }
}

void BM_AlterVarcharLength(benchmark::State &state)
{
    // The length keeps growing, wrapping far below any limit.
    alterLoop(state, [](int step) {
        return ColumnStatements::AlterDefinition(
            u"cName"_s, u"2"_s, u"varchar"_s, QString::number(21 + step % 3000), {});
    });
}
BENCHMARK(BM_AlterVarcharLength)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Apply(timing);

void BM_AlterNumericPrecision(benchmark::State &state)
{
    alterLoop(state, [](int step) {
        return ColumnStatements::AlterDefinition(u"nPay"_s,
                                                 u"4"_s,
                                                 u"numeric"_s,
                                                 QString::number(13 + step % 20),
                                                 QString::number(2 + step % 3));
    });
}
BENCHMARK(BM_AlterNumericPrecision)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Apply(timing);

} // namespace

int main(int argc, char **argv)
{
    const int status = runBenchmarks(argc, argv, "the set tables", true, [] {
        g_tables = std::make_unique<SetTables>();
        return RatioReporter::scaled({"BM_AlterVarcharLength", "BM_AlterNumericPrecision"},
                                     0,
                                     1,
                                     std::to_string(Rows) + " rows / empty",
                                     2);
    });
    Defs::instance().connection.reset();
    g_tables.reset();
    return status;
}
