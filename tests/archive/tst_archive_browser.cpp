#include "FakeLogin.h"
#include "RecordedStatements.h"
#include "ScriptedMessages.h"
#include "TestDatabase.h"

#include "archive/frmArchiveUI.h"
#include "entry/Defs.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsShowForm.h"
#include "entry/mdlFunction.h"
#include "services/clsHrCTsFace.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using test::FakeLogin;
using test::MessageScope;
using test::RecorderScope;
using test::TestDatabase;

namespace {

const QString Divisions = u"RHR_CT006^1"_s;
const QString Education = u"RHR_CT003^1"_s;

// A fresh demo account with the login context and the shared connection of a host, and the
// archive browser on it, its editor launchers recorded instead of opened.
struct Fixture
{
    TestDatabase db;
    std::shared_ptr<FakeLogin> login = std::make_shared<FakeLogin>();
    std::unique_ptr<clsShowForm> form;
    std::unique_ptr<frmArchiveUI> window;
    QStringList launched;

    Fixture()
    {
        login->connectionString = db.connectionString();
        clsLoginMsg().setCLogin(login);
        form = std::make_unique<clsShowForm>();
        window = std::make_unique<frmArchiveUI>();
        window->setEditorLaunchers(
            {[this](int m, QWidget *) { launched << u"AddArchive %1"_s.arg(m); },
             [this](const QString &t, int m, QWidget *) {
                 launched << u"ModifyArchive %1 %2"_s.arg(t).arg(m);
             },
             [this](const QString &k, const QString &t, const QString &x, int l, int m, QWidget *) {
                 launched << u"AddArchiveItem %1 %2 %3 %4 %5"_s.arg(k, t, x).arg(l).arg(m);
             },
             [this](const QString &t, const QString &x, int m, QWidget *) {
                 launched << u"ModifyArchiveItem %1 %2 %3"_s.arg(t, x).arg(m);
             }});
        window->show();
    }
    ~Fixture()
    {
        window.reset();
        form.reset();
        Defs::instance().reset();
    }

    db::Connection &conn() { return Defs::instance().conn(); }
    NodeTree *tree() { return window->Tree(); }
    Grid *grid() { return window->grid(); }

    void visit(const QString &key)
    {
        QVERIFY2(tree()->selectKey(key), qPrintable(key));
        window->ShowSelectedNode();
    }
    int childCount(const QString &key) { return tree()->Node(key)->childCount(); }
    int gridRowOf(const QString &code)
    {
        for (int r = 1; r < grid()->Rows(); ++r)
            if (grid()->TextMatrix(r, 1) == code)
                return r;
        return -1;
    }
    // A user-defined, multi-level archive class with an empty code table.
    void addClass(const QString &table, const QString &name)
    {
        conn().Execute(u"insert into hr_sys_setdict (cTableCode, vTableName, iTableClass, "
                       "bMultiLevel, bsysFlag, bdelFlag, ishowOrder) values ('"_s
                       + table + u"', '"_s + name + u"', 3, 1, 1, 0, 99)"_s);
        QVERIFY(clsHrCTsFace().CreateTable(table));
    }
    void addCode(const QString &table, const QString &code, const QString &parent, int level)
    {
        clsHrCT c;
        c.setCodeId(code);
        c.setDescription(u"代码"_s + code);
        c.setPCodeId(parent);
        c.setLevels(level);
        c.setSFlag(u"1"_s);
        QVERIFY(clsHrCTsFace().Add(c, table));
    }
    int count(const QString &sql) { return db.scalar(sql).toInt(); }
};

} // namespace

class TestArchiveBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void visitsReadOneLevelAndCreateChildNodesOnce();
    void flatListingFromFourHundredTopLevelCodes_data();
    void flatListingFromFourHundredTopLevelCodes();
    void deleteCodesAndClasses();
    void commandsAndRights();
    void menusEditorCallbacksAndFindNext();
    void find_data();
    void find();
};

void TestArchiveBrowser::visitsReadOneLevelAndCreateChildNodesOnce()
{
    Fixture f;
    QCOMPARE(f.tree()->topLevelItemCount(), 6);
    QCOMPARE(f.tree()->Node(Divisions)->text(0), u"行政区划(HR_CT006)"_s);

    RecorderScope recorded(f.conn());
    f.visit(Divisions);
    QCOMPARE(recorded->statements(), QStringList{u"select * from HR_CT006 where ilevels=0"_s});
    QCOMPARE(f.childCount(Divisions), 31);
    QCOMPARE(f.grid()->Rows(), 32);
    const int hebei = f.gridRowOf(u"13"_s);
    QCOMPARE(f.grid()->rowTexts(hebei).mid(1).join(u'|'),
             u"13|河北省|河北省|HBS|0||0-系统|1-有|0-显示|"_s);

    // A province: its children only, created as nodes once, listed on every visit.
    const QString province = u"CHR_CT006^13^0"_s;
    for (int visit = 0; visit < 2; ++visit) {
        recorded->clear();
        f.visit(province);
        QCOMPARE(recorded->statements(),
                 QStringList{u"select * from HR_CT006  where cpCodeID =  '13' or cCodeID=  '13'"
                             "  and ilevels <> 0"_s});
        QCOMPARE(f.childCount(province), 11);
        QCOMPARE(f.grid()->Rows(), 12);
    }
    QCOMPARE(f.childCount(Divisions), 31);
    // Nodes are only added to a node without children: one taken away stays away.
    f.tree()->RemoveNode(NodeTree::Key(f.tree()->Node(province)->child(10)));
    f.visit(province);
    QCOMPARE(f.childCount(province), 10);

    // A code without children lists itself, found by the second statement.
    const QString prefecture = NodeTree::Key(f.tree()->Node(province)->child(0));
    f.visit(prefecture);
    const QString county = NodeTree::Key(f.tree()->Node(prefecture)->child(0));
    recorded->clear();
    f.visit(county);
    const QString code = KeyMiddleSegment(county);
    QCOMPARE(recorded->statements().size(), 2);
    QCOMPARE(recorded->statements().last(),
             u"select * from HR_CT006  where cpCodeID =  '%1' or cCodeID=  '%1'"_s.arg(code));
    QCOMPARE(f.grid()->Rows(), 2);
    QCOMPARE(f.grid()->TextMatrix(1, 1), code);
    QCOMPARE(f.childCount(county), 0);

    // A class without codes: titles only. Refreshing drops the code nodes.
    f.addClass(u"HR_CT100"_s, u"空档案"_s);
    f.window->Toolbar1_ButtonClick(u"Resh"_s);
    f.visit(u"RHR_CT100^1"_s);
    QCOMPARE(f.grid()->Rows(), 1);
    QCOMPARE(f.childCount(u"RHR_CT100^1"_s), 0);
    QVERIFY(!f.tree()->Exists(province));
}

void TestArchiveBrowser::flatListingFromFourHundredTopLevelCodes_data()
{
    QTest::addColumn<int>("codes");
    QTest::addColumn<int>("nodes");
    // One top-level code names a parent outside the table: only the flat listing shows it.
    QTest::newRow("399, matched by parent") << 399 << 398;
    QTest::newRow("400, flat") << 400 << 400;
}

void TestArchiveBrowser::flatListingFromFourHundredTopLevelCodes()
{
    QFETCH(int, codes);
    QFETCH(int, nodes);
    Fixture f;
    f.addClass(u"HR_CT100"_s, u"大档案"_s);
    db::TransactionGuard transaction(f.conn());
    for (int i = 0; i < codes; ++i)
        f.addCode(u"HR_CT100"_s, u"%1"_s.arg(1000 + i), i == 7 ? u"99"_s : QString(), 0);
    transaction.Commit();
    f.window->Toolbar1_ButtonClick(u"Resh"_s);
    f.visit(u"RHR_CT100^1"_s);
    QCOMPARE(f.childCount(u"RHR_CT100^1"_s), nodes);
    QCOMPARE(f.grid()->Rows(), codes + 1);
}

void TestArchiveBrowser::deleteCodesAndClasses()
{
    Fixture f;
    MessageScope messages;
    f.addCode(u"HR_CT003"_s, u"5"_s, QString(), 0);
    f.addCode(u"HR_CT003"_s, u"51"_s, u"5"_s, 1);
    f.addCode(u"HR_CT003"_s, u"5101"_s, u"51"_s, 2);
    f.conn().Execute(u"insert into hr_hi_education (PK_hr_hi_education, cPsn_Num, rEduDegree) "
                     "values ('6F9619FF-8B86-D011-B42D-00C04FC964FF', '0001', '51')"_s);
    f.visit(Education);

    // From the tree with several codes listed, the user is sent to the grid first.
    f.tree()->setFocus();
    f.window->RunEntry(u"DELETEX"_s);
    QCOMPARE(messages->lastText(), u"请选择要删除的档案项！"_s);
    QCOMPARE(f.window->focusWidget(), f.grid());

    const auto deleteRow = [&](const QString &code) {
        f.grid()->setRow(f.gridRowOf(code));
        f.window->RunEntry(u"DELETEX"_s);
        return messages->lastText();
    };
    QCOMPARE(deleteRow(u"1"_s), u"系统档案项，不能删除！"_s);

    // 51 is stored in the second of the two columns that refer to the education table.
    f.visit(u"CHR_CT003^5^0"_s);
    QCOMPARE(deleteRow(u"51"_s), u"该档案项在使用中，不能删除！"_s);
    QCOMPARE(f.count(u"select count(*) from HR_CT003 where ccodeID like '5%'"_s), 3);

    // The whole subtree goes, after a confirmation that Cancel declines.
    f.conn().Execute(u"delete from hr_hi_education where PK_hr_hi_education='6F9619FF-8B86-D011-B42D-00C04FC964FF'"_s);
    f.visit(Education);
    messages->answers = {MsgResult::Cancel};
    QCOMPARE(deleteRow(u"5"_s), u"请确认要删除该档案项！"_s);
    QCOMPARE(messages->shown.last().defaultButton, MsgResult::Cancel);
    QCOMPARE(f.count(u"select count(*) from HR_CT003 where ccodeID like '5%'"_s), 3);
    messages->answers = {MsgResult::Ok};
    RecorderScope recorded(f.conn());
    QCOMPARE(deleteRow(u"5"_s), u"删除成功！"_s);
    QCOMPARE(recorded->statements().mid(0, 6),
             (QStringList{u"select bsysflag from HR_CT003  where ccodeID='5'"_s,
                          u"select * from hr_sys_itemdict where vReferenceObj='HR_CT003'"_s,
                          u"select count(*) from hr_hi_person where  rEduDegree ='5'"_s,
                          u"select count(*) from hr_hi_education where  rEduDegree ='5'"_s,
                          u"select * from HR_CT003 where ccodeid like '5%' and ilevels > 0"_s,
                          u"delete from HR_CT003  where ccodeId like'5%'"_s}));
    QCOMPARE(f.count(u"select count(*) from HR_CT003 where ccodeID like '5%'"_s), 0);
    QVERIFY(!f.tree()->Exists(u"CHR_CT003^5^0"_s));
    QCOMPARE(f.gridRowOf(u"5"_s), -1);
    QVERIFY(f.login->calls.contains(u"RequestTask(HM01020302,false,0)"_s));

    // An error in the checks is shown by its description and ends the command.
    f.conn().Execute(u"insert into hr_sys_itemdict (cTableCode, cItemCode, vReferenceObj) "
                     "values ('hr_gone', 'rEdu', 'HR_CT003')"_s);
    f.addCode(u"HR_CT003"_s, u"5"_s, QString(), 0);
    f.visit(Education);
    QVERIFY(deleteRow(u"5"_s).contains(u"hr_gone"_s));
    QCOMPARE(f.count(u"select count(*) from HR_CT003 where ccodeID='5'"_s), 1);

    // Classes: system ones stay, referenced ones are flagged (the others go in the flow test).
    f.addClass(u"HR_CT101"_s, u"被引用"_s);
    f.conn().Execute(u"update hr_sys_itemdict set vReferenceObj='HR_CT101' "
                     "where cTableCode='hr_hi_family' and citemCode='rPolity'"_s);
    f.window->LoadClassTree();

    const auto deleteClass = [&](const QString &key) {
        f.visit(key);
        messages->answers = {MsgResult::Ok};
        f.window->RunEntry(u"DELETEL"_s);
        return messages->lastText();
    };
    QCOMPARE(deleteClass(u"RHR_CT001^0"_s), u"系统档案类，不能删除！"_s);
    QVERIFY(f.db.tableExists(u"HR_CT001"_s));

    QCOMPARE(deleteClass(u"RHR_CT101^1"_s), u"该档案类被引用，已打上删除标志！"_s);
    QCOMPARE(f.count(u"select bdelFlag from hr_sys_setdict where cTableCode='HR_CT101'"_s), 1);
    QVERIFY(f.db.tableExists(u"HR_CT101"_s) && f.tree()->Exists(u"RHR_CT101^1"_s));
}

void TestArchiveBrowser::commandsAndRights()
{
    Fixture f;
    MessageScope messages;
    f.visit(Divisions);
    f.window->RunEntry(u"ADDL"_s);
    f.window->RunEntry(u"ADDX"_s);
    f.window->RunEntry(u"MODIFYL"_s);
    f.grid()->setFocus();
    f.grid()->setRow(f.gridRowOf(u"13"_s));
    f.window->RunEntry(u"MODIFYX"_s);
    f.visit(u"CHR_CT006^13^0"_s);
    f.window->RunEntry(u"ADDX"_s);
    QCOMPARE(f.launched.join(u'|'),
             u"AddArchive 1|AddArchiveItem RHR_CT006^1 HR_CT006  0 1|ModifyArchive HR_CT006 1|"
             "ModifyArchiveItem HR_CT006 13 1|AddArchiveItem CHR_CT006^13^0 HR_CT006 13 0 1"_s);
    QCOMPARE(f.login->calls.count(u"RequestTask(HM01020102,false,0)"_s), 2);

    // Below a code of a single-level class nothing can be added.
    f.visit(u"RHR_CT001^0"_s);
    f.visit(NodeTree::Key(f.tree()->Node(u"RHR_CT001^0"_s)->child(0)));
    f.window->RunEntry(u"ADDX"_s);
    QCOMPARE(messages->lastText(), u"该级节点为末级节点，禁止扩展！"_s);

    // A refused right runs nothing and releases nothing.
    f.launched.clear();
    f.login->calls.clear();
    f.login->replies = {{false, 21, u"无权操作"_s}};
    f.window->RunEntry(u"ADDL"_s);
    QVERIFY(f.launched.isEmpty());
    QVERIFY(!f.login->calls.contains(u"RequestTask(HM01020101,false,0)"_s));

    // Carried-forward data refuses both deletes without asking the host.
    f.login->calls.clear();
    clsLoginMsg().setHMJZ(true);
    for (const QString &entry : {u"DELETEL"_s, u"DELETEX"_s}) {
        messages->shown.clear();
        f.window->RunEntry(entry);
        QCOMPARE(messages->lastText(), u"数据已结转，不能进行任何业务操作"_s);
    }
    QVERIFY(f.login->calls.isEmpty());
}

void TestArchiveBrowser::menusEditorCallbacksAndFindNext()
{
    Fixture f;
    QCOMPARE(ArchiveBrowser::open(), f.window.get());
    const auto visibleEntries = [&](QWidget *source) {
        Q_EMIT source->customContextMenuRequested(QPoint());
        QStringList names;
        for (QAction *action : f.window->operationMenu()->actions())
            if (action->isVisible() && !action->isSeparator())
                names << action->objectName();
        f.window->operationMenu()->close();
        return names.join(u' ');
    };
    f.visit(Education);
    QCOMPARE(visibleEntries(f.tree()), u"mnuAddCls mnuModifyL mnuDelL mnuFind mnuRef"_s);
    QCOMPARE(visibleEntries(f.grid()), u"mnuAddItem mnuModifyX mnuDelX mnuFind mnuRef"_s);
    f.visit(u"CHR_CT003^1^0"_s);
    QCOMPARE(visibleEntries(f.tree()), u"mnuAddItem mnuModifyX mnuDelX mnuFind mnuRef"_s);

    // What the editors call after a save, besides the new nodes of the flow test.
    f.visit(Education);
    f.window->RefreshAfterEdit(3);
    QCOMPARE(f.window->gridRow(), 3);
    QCOMPARE(f.window->firstChildKey(Education), u"CHR_CT003^1^0"_s);

    // F3 goes on from the current node and offers to start again from the top.
    MessageScope messages;
    f.window->findState() = {u"档案类代码"_s, u"包含"_s, u"Ct00"_s};
    f.window->RunFind();
    const auto f3 = [&] { f.window->findChild<QAction *>(u"keyFindNext"_s)->trigger(); };
    f3();
    QCOMPARE(f.window->selectedNodeKey(), u"RHR_CT002^0"_s);
    f.visit(Divisions);
    messages->answers = {MsgResult::Ok};
    f3();
    QCOMPARE(messages->lastText(), u"查找完毕，是否重新从头查找？"_s);
    QCOMPARE(f.window->selectedNodeKey(), u"RHR_CT001^0"_s);
}

void TestArchiveBrowser::find_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("found");
    const QString name = u"档案类名称"_s, code = u"档案类代码"_s;
    QTest::newRow("name equal") << name << u"等于"_s << u"学历"_s << Education;
    QTest::newRow("name equal, whole text")
        << name << u"等于"_s << u"学历(HR_CT003)"_s << QString();
    QTest::newRow("name contains code, lower case")
        << name << u"包含"_s << u"hr_ct006"_s << Divisions;
    QTest::newRow("code equal, lower case")
        << code << u"等于"_s << u"hr_ct005"_s << u"RHR_CT005^0"_s;
    QTest::newRow("no match") << code << u"包含"_s << u"HR_HI"_s << QString();
}

void TestArchiveBrowser::find()
{
    QFETCH(QString, field);
    QFETCH(QString, op);
    QFETCH(QString, value);
    QFETCH(QString, found);
    Fixture f;
    MessageScope messages;
    f.visit(u"RHR_CT001^0"_s);
    f.window->findState() = {field, op, value};
    messages->answers = {MsgResult::Ok, MsgResult::Cancel};
    f.window->RunFind();
    if (found.isEmpty()) {
        QCOMPARE(f.window->selectedNodeKey(), u"RHR_CT001^0"_s);
        // Restarting from the top finds nothing either and asks again.
        QCOMPARE(messages->shown.size(), 2);
        return;
    }
    QCOMPARE(f.window->selectedNodeKey(), found);
    QVERIFY(f.grid()->Rows() > 1);
}

QTEST_MAIN(TestArchiveBrowser)
#include "tst_archive_browser.moc"
