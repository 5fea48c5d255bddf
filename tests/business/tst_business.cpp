#include "HostSession.h"
#include "RecordedStatements.h"
#include "ScriptedMessages.h"
#include "WindowControls.h"

#include "business/frmOperationFlowUI.h"
#include "business/frmXXJGroup.h"
#include "common/LauncherWindow.h"
#include "db/Connection.h"
#include "entry/mdlFunction.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace vorlane;
using namespace vorlane::test;
using namespace Qt::StringLiterals;

namespace {

void selectCategory(frmOperationFlowUI &w, const QString &code)
{
    for (auto *node : w.Tree()->Nodes())
        if (NodeTree::Key(node).startsWith(u'R' + code + u'-'))
            w.Tree()->selectNode(node);
    w.ShowSelectedCategory();
}

// Runs "设置" and acts on the modal membership dialog while it is open.
void withMembershipDialog(frmOperationFlowUI &w, const std::function<void(frmXXJGroup &)> &act)
{
    withModalDialog<frmXXJGroup>(
        &existingWindowInstance<frmXXJGroup>,
        [&] { w.Toolbar1_ButtonClick(u"Add"_s); },
        [&](frmXXJGroup *d) { act(*d); });
}

QStringList entries(const QWidget &dialog, bool selectedOnly = false)
{
    QStringList out;
    auto *list = control<QListWidget>(&dialog, "lstXxj");
    for (int i = 0; i < list->count(); ++i)
        if (!selectedOnly || list->item(i)->isSelected())
            out << list->item(i)->text();
    return out;
}

QStringList comboEntries(const QWidget &dialog)
{
    auto *combo = control<QComboBox>(&dialog, "cboLb");
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

QStringList members(HostSession &s, const QString &cid)
{
    QStringList out;
    auto rs = s.conn().OpenRecordset(
        u"select ctablecode, itablegroup from hr_sys_CategoriesMember where cid='%1' "
        "order by itablegroup, ctablecode"_s.arg(cid));
    for (; !rs->Eof(); rs->MoveNext())
        out << rs->FieldValue(1).toString() + u':' + rs->FieldValue(0).toString().toLower();
    return out;
}

} // namespace

class TestBusiness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void categoriesAndTheirMembers();
    void savingReplacesOneGroup();
    void carriedForward();
};

void TestBusiness::categoriesAndTheirMembers()
{
    HostSession s;
    MessageScope messages;
    frmOperationFlowUI w;
    RecorderScope rec(s.conn());
    w.FormLoad();

    QStringList keys;
    for (auto *node : w.Tree()->Nodes())
        keys << NodeTree::Key(node);
    QCOMPARE(
        keys.join(u' '),
        u"RBZ001-编制管理 RCJ002-人员信息采集 RDJ003-职级评定 RTP004-人事调配 RLZ005-离职管理"_s);
    QCOMPARE(rec->statements().last(),
             u"select t1.cid as '业务代码',t1.ctablecode as '信息集代码',t2.vtablename as "
             "'信息集名称',t2.vdescription as '信息集描述',t2.vmemo as '备注' from "
             "hr_sys_CategoriesMember as t1 left join hr_sys_setdict as t2 on "
             "t1.ctablecode=t2.ctablecode  where t1.cid='BZ001' and t2.bDisplay=1 and "
             "t2.bdelFlag=0 order by  t2.ishowOrder"_s);
    Grid *g = w.grid();
    QCOMPARE(g->rowTexts(0),
             QStringList({"序号", "业务代码", "信息集代码", "信息集名称", "信息集描述", "备注"}));
    QCOMPARE(g->Rows(), 3);
    QCOMPARE(g->TextMatrix(1, 0) + g->TextMatrix(1, 1), u"1BZ001"_s);

    // Hidden, deleted and missing sets are not listed.
    s.conn().Execute(u"update hr_sys_setdict set bDisplay=0 where ctablecode='hr_hi_family'"_s);
    s.conn().Execute(u"update hr_sys_setdict set bdelFlag=1 where ctablecode='hr_hi_resume'"_s);
    s.conn().Execute(u"insert hr_sys_CategoriesMember (cid,ctablecode,itablegroup) "
                     "values ('CJ002','HR_GONE','1')"_s);
    selectCategory(w, u"CJ002"_s);
    QCOMPARE(g->Rows(), 2);
    QCOMPARE(g->TextMatrix(1, 2).toLower(), u"hr_hi_education"_s);

    // No members: the default titles and one empty row.
    selectCategory(w, u"DJ003"_s);
    QCOMPARE(
        g->rowTexts(0),
        QStringList({"序号", "业务信息代码", "信息集代码", "信息集名称", "应用表描述", "备注"}));
    QCOMPARE(g->Rows(), 2);
    QCOMPARE(g->rowTexts(1).join(QString()), QString());

    // A category outside the five: no groups, no sets, and "确定" saves nothing.
    s.conn().Execute(
        u"insert hr_sys_Categories (cid,vname,ishoworder) values ('XX999','其他业务',9)"_s);
    w.Toolbar1_ButtonClick(u"Resh"_s);
    selectCategory(w, u"XX999"_s);
    withMembershipDialog(w, [&](frmXXJGroup &d) {
        QVERIFY(comboEntries(d).isEmpty() && entries(d).isEmpty());
        rec->clear();
        click(&d, "cmdOk");
        QVERIFY(d.isVisible());
        QVERIFY(rec->executed().isEmpty());
    });
    QVERIFY(messages->shown.isEmpty());
}

void TestBusiness::savingReplacesOneGroup()
{
    HostSession s;
    MessageScope messages;
    frmOperationFlowUI w;
    w.FormLoad();

    // Person categories offer only the person group; the members come pre-selected.
    selectCategory(w, u"CJ002"_s);
    RecorderScope rec(s.conn());
    QString kept;
    withMembershipDialog(w, [&](frmXXJGroup &d) {
        QCOMPARE(comboEntries(d).size(), 1);
        QVERIFY(comboEntries(d).first().startsWith(u"1-"_s));
        QCOMPARE(entries(d, true).size(), 3);
        click(&d, "Command2");
        QVERIFY(entries(d, true).isEmpty());
        auto *list = d.findChild<QListWidget *>(u"lstXxj"_s);
        list->item(0)->setSelected(true);
        kept = NamePart(list->item(0)->text());
        rec->clear();
        click(&d, "cmdOk");
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(
        rec->executed(),
        QStringList({"delete from hr_sys_CategoriesMember where cid='CJ002' and itablegroup=1",
                     "insert hr_sys_CategoriesMember( cid,ctablecode,itablegroup) values('CJ002', '"
                         + kept + "' ,'1')"}));
    QCOMPARE(members(s, u"CJ002"_s), QStringList({u"1:" + kept.toLower()}));
    QCOMPARE(w.grid()->Rows(), 2); // the browser refreshed its list
    QCOMPARE(w.grid()->TextMatrix(1, 2), kept);

    // BZ001 offers every group but person and attendance; saving one leaves the others.
    selectCategory(w, u"BZ001"_s);
    withMembershipDialog(w, [&](frmXXJGroup &d) {
        for (const QString &entry : comboEntries(d))
            QVERIFY(!entry.startsWith(u"1-"_s) && !entry.startsWith(u"5-"_s));
        QVERIFY(comboEntries(d).first().startsWith(u"2-"_s));
        click(&d, "cmdSel");
        click(&d, "cmdOk");
    });
    QVERIFY(members(s, u"BZ001"_s).contains(u"4:hr_om_jobplan"_s));
    QVERIFY(members(s, u"BZ001"_s).contains(u"2:hr_om_deptplan"_s));

    // Opened again, the saved selection shows.
    selectCategory(w, u"CJ002"_s);
    withMembershipDialog(w, [&](frmXXJGroup &d) {
        QCOMPARE(entries(d, true).size(), 1);
        QCOMPARE(NamePart(entries(d, true).first()), kept);
    });

    // A failed save says nothing, keeps the dialog open and the members as they were.
    selectCategory(w, u"CJ002"_s);
    const QStringList before = members(s, u"CJ002"_s);
    s.db.refuse(u"hr_sys_CategoriesMember"_s, u"insert"_s);
    withMembershipDialog(w, [&](frmXXJGroup &d) {
        click(&d, "cmdSel");
        click(&d, "cmdOk");
        QVERIFY(d.isVisible());
    });
    QCOMPARE(members(s, u"CJ002"_s), before);
    QVERIFY(messages->shown.isEmpty());
}

void TestBusiness::carriedForward()
{
    HostSession s({.carriedForward = true});
    frmOperationFlowUI w;
    w.FormLoad();
    withMembershipDialog(w, [](frmXXJGroup &d) {
        for (const char *name : {"cmdOk", "Command2", "cmdSel"})
            QVERIFY(!control<QPushButton>(&d, name)->isEnabled());
    });
}

QTEST_MAIN(TestBusiness)
#include "tst_business.moc"
