// Code tables are read per level and per parent and deleted by code prefix. With the indexes that
// clsHrCTsFace::CreateTable gives a code table, those statements must cost about the same on a
// table of 700 000 codes (five levels of 2/4/6/9/12-digit codes, shaped like the administrative
// divisions) as on one of 1 000 codes: the ratios printed at the end are meant to stay at or
// below 2. Both tables have 35 top-level codes and parents of nine children, so every statement
// returns the same rows on both; only the size of the table around them differs.

#include "db/Connection.h"
#include "entry/Defs.h"
#include "host/DemoAccount.h"
#include "model/clsHrCTs.h"
#include "services/clsHrCTsFace.h"

#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

using namespace vorlane;
using namespace Qt::StringLiterals;

namespace {

const QString Table = u"HR_CT900"_s;

// Children per code of the level above; the last level is cut off at the total.
struct Shape
{
    int topCodes;
    int fanout[4];
    int total;
};

constexpr Shape Large{35, {10, 10, 20, 9}, 700000};
constexpr Shape Small{35, {1, 1, 3, 9}, 1000};

// Digits each level adds to its parent's code: 2, 4, 6, 9 and 12 digits in all.
constexpr const char *LevelFormat[5] = {"%02d", "%02d", "%02d", "%03d", "%03d"};

class CodeTable
{
public:
    explicit CodeTable(const Shape &shape)
    {
        if (!m_dir.isValid())
            throw std::runtime_error("no temporary directory");
        m_conn = std::make_shared<db::Connection>();
        m_conn->Open(u"sqlite:"_s + m_dir.filePath(u"codes.db"_s));
        host::createDemoAccount(*m_conn);
        use();
        clsHrCTsFace face;
        if (!face.CreateTable(Table))
            throw std::runtime_error(face.lastError().toStdString());
        generate(shape);
        pickParents();
    }

    // Makes this table's database the login context's connection, as the services expect.
    void use() { Defs::instance().connection = m_conn; }
    db::Connection &conn() { return *m_conn; }
    const QString &parent(qint64 i) const { return m_parents.at(qsizetype(i % m_parents.size())); }
    int codes() { return scalar(u"select count(*) from "_s + Table); }

private:
    int scalar(const QString &sql)
    {
        auto rs = m_conn->engine().QueryNative(sql);
        return rs->FieldValue(0).toInt();
    }

    void generate(const Shape &shape)
    {
        db::Engine &e = m_conn->engine();
        const QString columns = u" (ccodeID, vdescription, vsimpleName, vsimpleSpell, ilevels, "
                                "cpCodeID, bsysFlag, bChildFlag, bhideFlag, vMemo) "_s;
        m_conn->BeginTrans();
        // QString::arg would take the printf formats for its own markers: plain concatenation.
        const auto numbers = [](int upTo) -> QString {
            return u"with recursive n(i) as (select 1 union all select i + 1 from n where i < "_s
                   + QString::number(upTo) + u") "_s;
        };
        const auto format
            = [](int level) -> QString { return QString::fromLatin1(LevelFormat[level]); };
        e.ExecuteNative(u"insert into "_s + Table + columns + numbers(shape.topCodes)
                        + u"select printf('"_s + format(0)
                        + u"', 10 + i), '地区' || (10 + i), '地区', 'DQ', 0, '', '1', '1', '0', '' "
                          "from n"_s);
        int count = shape.topCodes;
        for (int level = 1; level <= 4; ++level) {
            const QString child = u"p.ccodeID || printf('"_s + format(level) + u"', n.i)"_s;
            const int limit = level == 4 ? shape.total - count : 1 << 30;
            e.ExecuteNative(u"insert into "_s + Table + columns + numbers(shape.fanout[level - 1])
                            + u"select "_s + child + u", '地区' || "_s + child
                            + u", '地区', 'DQ', "_s + QString::number(level)
                            + u", p.ccodeID, '1', '"_s + (level < 4 ? u"1"_s : u"0"_s)
                            + u"', '0', '' from "_s + Table + u" p, n where p.ilevels = "_s
                            + QString::number(level - 1) + u" order by p.ccodeID, n.i limit "_s
                            + QString::number(limit));
            count = scalar(u"select count(*) from "_s + Table);
        }
        m_conn->CommitTrans();
        if (count != shape.total)
            throw std::runtime_error("code table generated with the wrong size");
    }

    // Parents of level 3 with all nine children, spread over the table.
    void pickParents()
    {
        QStringList full;
        auto rs = m_conn->engine().QueryNative(
            u"select cpCodeID from "_s + Table
            + u" where ilevels = 4 group by cpCodeID having count(*) = 9 order by cpCodeID"_s);
        for (; !rs->Eof(); rs->MoveNext())
            full << rs->FieldValue(0).toString();
        constexpr int wanted = 64;
        for (int i = 0; i < wanted && !full.isEmpty(); ++i)
            m_parents << full.at(qsizetype(qint64(i) * full.size() / wanted));
        if (m_parents.size() != wanted)
            throw std::runtime_error("too few parents with nine children");
    }

    QTemporaryDir m_dir;
    std::shared_ptr<db::Connection> m_conn;
    QStringList m_parents;
};

CodeTable &table(qint64 codes)
{
    static CodeTable small(Small);
    static CodeTable large(Large);
    return codes == Large.total ? large : small;
}

// The archive browser's grid for a class node: the top-level codes.
void BM_LevelRead(benchmark::State &state)
{
    CodeTable &t = table(state.range(0));
    t.use();
    const QString sql = u"select * from "_s + Table + u" where ilevels=0"_s;
    for (auto _ : state) {
        clsHrCTs codes;
        if (!codes.Load(sql) || codes.Count() != Large.topCodes)
            state.SkipWithError("level read failed");
        benchmark::DoNotOptimize(codes.Count());
    }
}
BENCHMARK(BM_LevelRead)->Arg(Small.total)->Arg(Large.total)->Unit(benchmark::kMicrosecond);

// The archive browser's grid for a code node: the children of a parent, by its statement.
void BM_ChildrenRead(benchmark::State &state)
{
    CodeTable &t = table(state.range(0));
    t.use();
    qint64 i = 0;
    for (auto _ : state) {
        const QString &x = t.parent(i++);
        clsHrCTs codes;
        if (!codes.Load(u"select * from "_s + Table + u"  where cpCodeID =  '"_s + x
                        + u"' or cCodeID=  '"_s + x + u"'"_s + u"  and ilevels <> 3"_s)
            || codes.Count() != 9)
            state.SkipWithError("children read failed");
        benchmark::DoNotOptimize(codes.Count());
    }
}
BENCHMARK(BM_ChildrenRead)->Arg(Small.total)->Arg(Large.total)->Unit(benchmark::kMicrosecond);

// The archive browser's delete of a code with its subtree (ten codes), rolled back each time
// so that every iteration deletes the same.
void BM_SubtreeDelete(benchmark::State &state)
{
    CodeTable &t = table(state.range(0));
    t.use();
    clsHrCTsFace face;
    qint64 i = 0;
    for (auto _ : state) {
        t.conn().BeginTrans();
        if (!face.Delete(Table, t.parent(i++)))
            state.SkipWithError("subtree delete failed");
        t.conn().RollbackTrans();
    }
    if (t.codes() != state.range(0))
        state.SkipWithError("the rollback did not restore the table");
}
BENCHMARK(BM_SubtreeDelete)->Arg(Small.total)->Arg(Large.total)->Unit(benchmark::kMicrosecond);

// Prints the usual table, then large / small for each statement, from CPU and from real time.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            auto &t = m_times[run.run_name.function_name][run.run_name.args];
            t = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const std::string small = std::to_string(Small.total);
        const std::string large = std::to_string(Large.total);
        for (const auto &[name, byArgs] : m_times) {
            const auto s = byArgs.find(small);
            const auto l = byArgs.find(large);
            if (s == byArgs.end() || l == byArgs.end() || s->second.first <= 0)
                continue;
            std::printf("ratio %s %s / %s codes: %.2f CPU, %.2f real (target <= 2)\n",
                        name.c_str(),
                        large.c_str(),
                        small.c_str(),
                        l->second.first / s->second.first,
                        l->second.second / s->second.second);
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
        table(Small.total); // generate both tables before anything is timed
        table(Large.total);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "cannot generate the code tables: %s\n", e.what());
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Defs::instance().connection.reset();
    return 0;
}
