// Lengthening a text column, or widening a numeric one, of an information set must not depend on
// how many rows the set holds: the item modification dialog runs the ALTER COLUMN statement that
// ColumnStatements builds inside a transaction, and on the embedded database it only rewrites the
// declared type. The ratio printed at the end, a set of 1 000 000 rows against an empty one, is
// meant to stay at or below 2.

#include "db/Connection.h"
#include "entry/Defs.h"
#include "services/ColumnStatements.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

using namespace vorlane;
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
    {
        if (!m_dir.isValid())
            throw std::runtime_error("no temporary directory");
        m_conn = std::make_shared<db::Connection>();
        m_conn->Open(u"sqlite:"_s + m_dir.filePath(u"sets.db"_s));
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
        m_conn->BeginTrans();
        m_conn->engine().ExecuteNative(
            u"insert into "_s + Full + u" (PK_"_s + Full
            + u", cPsn_Num, iRecordID, blastflag, vstatus1, nstatus2, cName, nPay) "
              "with recursive n(i) as (select 1 union all select i + 1 from n where i < "_s
            + QString::number(Rows)
            + u") select printf('%08X-0000-4000-8000-%012X', i, i * 7919), printf('%010d', i), "
              "i, 1, '在职', i % 7, '员工' || i, i * 1.25 from n"_s);
        m_conn->CommitTrans();
        auto rs = m_conn->engine().QueryNative(u"select count(*) from "_s + Full);
        if (rs->FieldValue(0).toInt() != Rows)
            throw std::runtime_error("set table generated with the wrong size");
    }

    db::Connection &conn() { return *m_conn; }
    void use() { Defs::instance().connection = m_conn; }

private:
    QTemporaryDir m_dir;
    std::shared_ptr<db::Connection> m_conn;
};

SetTables &tables()
{
    static SetTables t;
    return t;
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
BENCHMARK(BM_AlterVarcharLength)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
BENCHMARK(BM_AlterNumericPrecision)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Prints the usual table, then full / empty for each statement, from CPU and from real time.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            m_times[run.run_name.function_name][run.run_name.args]
                = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[name, byArgs] : m_times) {
            const auto empty = byArgs.find("0");
            const auto full = byArgs.find("1");
            if (empty == byArgs.end() || full == byArgs.end() || empty->second.first <= 0)
                continue;
            std::printf("ratio %s %d rows / empty: %.2f CPU, %.2f real (target <= 2)\n",
                        name.c_str(),
                        Rows,
                        full->second.first / empty->second.first,
                        full->second.second / empty->second.second);
        }
    }

private:
    std::map<std::string, std::map<std::string, std::pair<double, double>>> m_times;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        tables(); // generate the rows before anything is timed
    } catch (const std::exception &e) {
        std::fprintf(stderr, "cannot generate the set tables: %s\n", e.what());
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Defs::instance().connection.reset();
    return 0;
}
