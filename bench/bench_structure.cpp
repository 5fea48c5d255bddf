// Opening the structure browser and clicking an information set must cost about what showing
// the same texts in a plain table widget costs. The dictionary holds 1 000 generated person sets
// (so the first group's list shows all of them) and 50 000 items, 500 of them in the first set.
// Each browser run is paired with filling a QTableWidget with the very cell texts the browser's
// grid shows; the ratios printed at the end (medians with --benchmark_repetitions) are meant to
// stay at or below 2.

#include "BenchDatabase.h"

#include "common/Grid.h"
#include "common/NodeTree.h"
#include "db/Connection.h"
#include "entry/Defs.h"
#include "host/VexaLogin.h"
#include "structure/frmConstructUI.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

using namespace vorlane;
using namespace vorlane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int Sets = 1000;
constexpr int Items = 50000;
constexpr int ItemsOfFirstSet = 500;
const QString FirstSetKey = u"CR1^HR_GEN0001^"_s;

class BenchLogin : public VexaLogin
{
public:
    QString ConnectionString() const override { return {}; }
    QString InstallPath() const override { return {}; }
    QString AccountCode() const override { return u"001"_s; }
    QString AccountName() const override { return u"星桥示范企业"_s; }
    QDate BusinessDate() const override { return {2024, 3, 5}; }
    QString OperatorName() const override { return u"测试员"_s; }
    bool RequestTask(const QString &, bool, int) override { return true; }
    long LastErrorNumber() const override { return 0; }
    QString LastErrorText() const override { return {}; }
    void ClearError() override {}
};

// The demo account with its sets and items replaced by the generated dictionary.
class Dictionary
{
public:
    Dictionary()
    {
        auto conn = sharedConnection(m_database);
        db::Engine &engine = conn->engine();
        conn->BeginTrans();
        engine.ExecuteNative(u"delete from hr_sys_itemdict"_s);
        engine.ExecuteNative(u"delete from hr_sys_setdict where iTableClass <> 3"_s);
        engine.ExecuteNative(
            u"insert into hr_sys_setdict (cTableCode, vTableName, vdescription, iTableGroup, "
            "iTableClass, iTableType, icycleType, iBusinessFlag, iFunctionScope, bsysFlag, "
            "vParentTable, bChildFlag, bdelFlag, ishowOrder, bDisplay, vMemo) "_s
            + numbers(Sets) + u"select 'hr_gen' || "_s + zeroPadded(u"i"_s, 4)
            + u", '生成信息集' || i, '第' || i || '个生成的信息集', "
              "1, 1, 2, i % 4, 4, 17, 1, '', 0, 0, i, 1, '' from n"_s);
        // The first set gets its 500 items, the others share the rest.
        const int perSet = (Items - ItemsOfFirstSet) / (Sets - 1);
        engine.ExecuteNative(
            u"insert into hr_sys_itemdict (cTableCode, cItemCode, vItemName, vdescription, "
            "iItemType, vReferenceObj, bLastLevelFlag, iItemLen, iItemDec, bsysFlag, "
            "brecordFlag, bnullFlag, vDefault, vFormat, bdelFlag, bdisplay, ishowOrder, "
            "iBusinessFlag, bdefault, vMemo) "
            "with recursive n(i) as (select 0 union all select i + 1 from n where i < "_s
            + QString::number(Items - 1) + u"), s(i, t, k) as (select i, case when i < "_s
            + QString::number(ItemsOfFirstSet) + u" then 1 else 2 + (i - "_s
            + QString::number(ItemsOfFirstSet) + u") / "_s + QString::number(perSet)
            + u" end, i from n) "
              "select 'hr_gen' || "_s
            + zeroPadded(u"case when t < "_s + QString::number(Sets) + u" then t else "_s
                             + QString::number(Sets) + u" end"_s,
                         4)
            + u", 'cItem' || "_s + zeroPadded(u"k"_s, 5)
            + u", '信息项' || k, '生成的信息项' || k, "
              "1 + k % 9, case when k % 9 = 8 then 'HR_CT001' else '' end, k % 2, 20, 0, 1, "
              "0, 0, '', '', 0, 1, k, 4, 0, '' from s"_s);
        conn->CommitTrans();
        auto rs = engine.QueryNative(u"select count(*) from hr_sys_itemdict"_s);
        if (rs->FieldValue(0).toInt() != Items)
            throw std::runtime_error("dictionary generated with the wrong size");

        Defs &defs = Defs::instance();
        defs.cLogin = std::make_shared<BenchLogin>();
        defs.MenuID = u"HR0101"_s;
        defs.SYSID = u"HR"_s;
        defs.MenueStyleID = 2;
        defs.connection = conn;
    }

private:
    TestDatabase m_database;
};

// The texts of a grid, title row first, for the table widget to show.
QList<QStringList> gridTexts(const Grid &grid)
{
    QList<QStringList> rows;
    for (int r = 0; r < grid.Rows(); ++r)
        rows << grid.rowTexts(r);
    return rows;
}

void fillTable(QTableWidget &table, const QList<QStringList> &texts)
{
    table.setColumnCount(int(texts.first().size()));
    table.setRowCount(int(texts.size()) - 1);
    table.setHorizontalHeaderLabels(texts.first());
    for (int r = 1; r < texts.size(); ++r) {
        const QStringList &row = texts[r];
        for (int c = 0; c < row.size(); ++c)
            table.setItem(r - 1, c, new QTableWidgetItem(row[c]));
    }
}

struct Expected
{
    QList<QStringList> openTexts;
    QList<QStringList> clickTexts;
};

const Expected &expected()
{
    static const Expected e = [] {
        Expected x;
        frmConstructUI window;
        window.FormLoad();
        x.openTexts = gridTexts(*window.grid());
        window.Tree()->selectKey(FirstSetKey);
        window.TreeClick();
        x.clickTexts = gridTexts(*window.grid());
        if (window.Tree()->NodeCount() < Sets || x.openTexts.size() != Sets + 1
            || x.clickTexts.size() != ItemsOfFirstSet + 1)
            throw std::runtime_error("the browser does not show the generated dictionary");
        return x;
    }();
    return e;
}

void BM_OpenBrowser(benchmark::State &state)
{
    for (auto _ : state) {
        frmConstructUI window;
        window.FormLoad();
        benchmark::DoNotOptimize(window.grid()->Rows());
    }
}
BENCHMARK(BM_OpenBrowser)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Apply(timing);

void BM_OpenTable(benchmark::State &state)
{
    const auto &texts = expected().openTexts;
    for (auto _ : state) {
        QTableWidget table;
        fillTable(table, texts);
        benchmark::DoNotOptimize(table.rowCount());
    }
}
BENCHMARK(BM_OpenTable)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Apply(timing);

void BM_ClickSet(benchmark::State &state)
{
    frmConstructUI window;
    window.FormLoad();
    window.Tree()->selectKey(FirstSetKey);
    for (auto _ : state) {
        window.TreeClick();
        benchmark::DoNotOptimize(window.grid()->Rows());
    }
}
BENCHMARK(BM_ClickSet)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Apply(timing);

void BM_ClickTable(benchmark::State &state)
{
    const auto &texts = expected().clickTexts;
    QTableWidget table;
    for (auto _ : state) {
        table.clear();
        fillTable(table, texts);
        benchmark::DoNotOptimize(table.rowCount());
    }
}
BENCHMARK(BM_ClickTable)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Apply(timing);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::unique_ptr<Dictionary> dictionary;
    const int status = runBenchmarks(argc, argv, "the dictionary", false, [&dictionary] {
        dictionary = std::make_unique<Dictionary>(); // generated before anything is timed
        expected();
        return std::vector<RatioReporter::Ratio>{
            {"opening the browser / filling a QTableWidget", "BM_OpenBrowser", "BM_OpenTable", 2},
            {"clicking a set of 500 items / filling a QTableWidget",
             "BM_ClickSet",
             "BM_ClickTable",
             2}};
    });
    Defs::instance().reset();
    return status;
}
