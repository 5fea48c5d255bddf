// Visiting a node of the archive browser reads one level of codes, fills the grid and creates the
// node's child nodes. It must cost about the same on a code table of 700 000 codes (five levels of
// 2/4/6/9/12-digit codes) as on one of 1 000: the ratios printed at the end are meant to stay at
// or below 2. Both tables have 35 top-level codes with ten children each and five levels, so
// every visit lists the same number of codes and creates the same number of nodes on both.

#include "CodeTableGenerator.h"

#include "archive/ArchiveTree.h"
#include "archive/frmArchiveUI.h"

#include <QApplication>

using namespace vorlane;
using namespace vorlane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr Shape Large{35, {10, 10, 20, 9}, 700000};
// 35 + 350 + 200 + 200 + 215 codes.
constexpr Shape Small{35, {10, 1, 1, 2}, 1000, {0, 200, 200, 0}};

constexpr int Leaves = 8;

// A generated table registered as an archive class, and the archive browser open on it.
class Browser
{
public:
    explicit Browser(const Shape &shape)
        : m_table(shape)
    {
        m_table.conn().Execute(u"insert into hr_sys_setdict (cTableCode, vTableName, iTableClass, "
                               "bMultiLevel, bsysFlag, bdelFlag, ishowOrder) values ('"_s
                               + Table + u"', '生成档案', 3, 1, 1, 0, 0)"_s);
        m_window.LoadClassTree();
        m_classKey = archive::classNodeKey(Table, u"1"_s);
        if (!m_window.Tree()->Exists(m_classKey))
            throw std::runtime_error("the generated class has no node");
        visit(m_classKey);
        for (const QString &code : m_table.column(u"select ccodeID from "_s + Table
                                                  + u" where ilevels = 0 order by ccodeID"_s))
            m_topKeys << archive::codeNodeKey(Table, code, 0);
        const QStringList deepest = m_table.column(u"select ccodeID from "_s + Table
                                                   + u" where ilevels = 4 order by ccodeID"_s);
        for (int i = 0; i < Leaves; ++i)
            m_leaves << deepest.at(qsizetype(qint64(i) * deepest.size() / Leaves));
    }

    // Deepest codes spread over the table, their ancestors visited so that their nodes exist.
    bool prepareLeaves()
    {
        m_leafKeys.clear();
        for (const QString &leaf : std::as_const(m_leaves)) {
            for (int level = 0; level < 4; ++level) {
                if (!visit(archive::codeNodeKey(Table, leaf.left(ancestorLength(level)), level)))
                    return false;
            }
            m_leafKeys << archive::codeNodeKey(Table, leaf, 4);
        }
        return true;
    }

    void use() { m_table.use(); }
    const QString &classKey() const { return m_classKey; }
    const QString &topKey(qint64 i) const { return m_topKeys.at(qsizetype(i % m_topKeys.size())); }
    const QString &leafKey(qint64 i) const { return m_leafKeys.at(qsizetype(i % Leaves)); }

    // Selects the node and shows it: one level read, grid filled, child nodes created.
    bool visit(const QString &key)
    {
        if (!m_window.Tree()->selectKey(key))
            return false;
        m_window.ShowSelectedNode();
        return true;
    }
    void dropChildren(const QString &key)
    {
        QTreeWidgetItem *node = m_window.Tree()->Node(key);
        QStringList keys;
        for (int i = 0; i < node->childCount(); ++i)
            keys << NodeTree::Key(node->child(i));
        for (const QString &child : std::as_const(keys))
            m_window.Tree()->RemoveNode(child);
    }
    int children(const QString &key) const { return m_window.Tree()->Node(key)->childCount(); }
    int gridRows() const { return m_window.grid()->Rows(); }

private:
    static int ancestorLength(int level) { return level < 3 ? 2 * (level + 1) : 9; }

    CodeTable m_table;
    frmArchiveUI m_window;
    QString m_classKey;
    QStringList m_topKeys;
    QStringList m_leaves;
    QStringList m_leafKeys;
};

// Windows go before the application does: main creates and releases them.
std::unique_ptr<Browser> g_small;
std::unique_ptr<Browser> g_large;

Browser &browser(qint64 codes)
{
    return codes == Large.total ? *g_large : *g_small;
}

// The class node: its 35 top-level codes listed and created as child nodes.
void BM_VisitClass(benchmark::State &state)
{
    Browser &b = browser(state.range(0));
    b.use();
    for (auto _ : state) {
        state.PauseTiming();
        b.dropChildren(b.classKey());
        state.ResumeTiming();
        if (!b.visit(b.classKey()) || b.children(b.classKey()) != 35 || b.gridRows() != 36)
            state.SkipWithError("class visit failed");
    }
}
BENCHMARK(BM_VisitClass)
    ->Arg(Small.total)
    ->Arg(Large.total)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(timing);

// A top-level code: its ten children listed and created as child nodes.
void BM_VisitTopLevelCode(benchmark::State &state)
{
    Browser &b = browser(state.range(0));
    b.use();
    qint64 i = 0;
    for (auto _ : state) {
        const QString &key = b.topKey(i++);
        state.PauseTiming();
        b.dropChildren(key);
        state.ResumeTiming();
        if (!b.visit(key) || b.children(key) != 10 || b.gridRows() != 11)
            state.SkipWithError("top-level visit failed");
    }
}
BENCHMARK(BM_VisitTopLevelCode)
    ->Arg(Small.total)
    ->Arg(Large.total)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(timing);

// A code of the deepest level: no children, so the code itself is read and listed.
void BM_VisitDeepestCode(benchmark::State &state)
{
    Browser &b = browser(state.range(0));
    b.use();
    if (!b.prepareLeaves())
        state.SkipWithError("deepest codes have no nodes");
    qint64 i = 0;
    for (auto _ : state) {
        const QString &key = b.leafKey(i++);
        if (!b.visit(key) || b.children(key) != 0 || b.gridRows() != 2)
            state.SkipWithError("deepest visit failed");
    }
}
BENCHMARK(BM_VisitDeepestCode)
    ->Arg(Small.total)
    ->Arg(Large.total)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(timing);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int status = runBenchmarks(argc, argv, "the code tables", true, [] {
        // Both tables generated and both browsers open before anything is timed.
        g_small = std::make_unique<Browser>(Small);
        g_large = std::make_unique<Browser>(Large);
        return RatioReporter::scaled(
            {"BM_VisitClass", "BM_VisitTopLevelCode", "BM_VisitDeepestCode"},
            Small.total,
            Large.total,
            std::to_string(Large.total) + " / " + std::to_string(Small.total) + " codes",
            2);
    });
    g_small.reset();
    g_large.reset();
    Defs::instance().connection.reset();
    return status;
}
