// Code tables are read per level and per parent and deleted by code prefix. With the indexes that
// clsHrCTsFace::CreateTable gives a code table, those statements must cost about the same on a
// table of 700 000 codes (five levels of 2/4/6/9/12-digit codes, shaped like the administrative
// divisions) as on one of 1 000 codes: the ratios printed at the end are meant to stay at or
// below 2. Both tables have 35 top-level codes and parents of nine children, so every statement
// returns the same rows on both; only the size of the table around them differs.

#include "CodeTableGenerator.h"

#include "model/clsHrCTs.h"

using namespace vorlane;
using namespace vorlane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr Shape Large{35, {10, 10, 20, 9}, 700000};
constexpr Shape Small{35, {1, 1, 3, 9}, 1000};

// A generated table with parents of level 3 that have all nine children, spread over it.
class ParentedTable : public CodeTable
{
public:
    explicit ParentedTable(const Shape &shape)
        : CodeTable(shape)
    {
        const QStringList full = column(u"select cpCodeID from "_s + Table
                                        + u" where ilevels = 4 group by cpCodeID having count(*) "
                                          "= 9 order by cpCodeID"_s);
        constexpr int wanted = 64;
        for (int i = 0; i < wanted && !full.isEmpty(); ++i)
            m_parents << full.at(qsizetype(qint64(i) * full.size() / wanted));
        if (m_parents.size() != wanted)
            throw std::runtime_error("too few parents with nine children");
    }

    const QString &parent(qint64 i) const { return m_parents.at(qsizetype(i % m_parents.size())); }

private:
    QStringList m_parents;
};

// Made by main before anything is timed, and dropped before it returns.
std::unique_ptr<ParentedTable> g_small;
std::unique_ptr<ParentedTable> g_large;

ParentedTable &table(qint64 codes)
{
    return codes == Large.total ? *g_large : *g_small;
}

// The archive browser's grid for a class node: the top-level codes.
void BM_LevelRead(benchmark::State &state)
{
    ParentedTable &t = table(state.range(0));
    t.use();
    const QString sql = u"select * from "_s + Table + u" where ilevels=0"_s;
    for (auto _ : state) {
        clsHrCTs codes;
        if (!codes.Load(sql) || codes.Count() != Large.topCodes)
            state.SkipWithError("level read failed");
        benchmark::DoNotOptimize(codes.Count());
    }
}
BENCHMARK(BM_LevelRead)
    ->Arg(Small.total)
    ->Arg(Large.total)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(timing);

// The archive browser's grid for a code node: the children of a parent, by its statement.
void BM_ChildrenRead(benchmark::State &state)
{
    ParentedTable &t = table(state.range(0));
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
BENCHMARK(BM_ChildrenRead)
    ->Arg(Small.total)
    ->Arg(Large.total)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(timing);

// The archive browser's delete of a code with its subtree (ten codes), rolled back each time
// so that every iteration deletes the same.
void BM_SubtreeDelete(benchmark::State &state)
{
    ParentedTable &t = table(state.range(0));
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
BENCHMARK(BM_SubtreeDelete)
    ->Arg(Small.total)
    ->Arg(Large.total)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(timing);

} // namespace

int main(int argc, char **argv)
{
    const int status = runBenchmarks(argc, argv, "the code tables", true, [] {
        g_small = std::make_unique<ParentedTable>(Small);
        g_large = std::make_unique<ParentedTable>(Large);
        return RatioReporter::scaled({"BM_LevelRead", "BM_ChildrenRead", "BM_SubtreeDelete"},
                                     Small.total,
                                     Large.total,
                                     std::to_string(Large.total) + " / "
                                         + std::to_string(Small.total) + " codes",
                                     2);
    });
    Defs::instance().connection.reset();
    g_small.reset();
    g_large.reset();
    return status;
}
