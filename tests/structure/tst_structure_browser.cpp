#include "FakeLogin.h"
#include "RecordedStatements.h"
#include "ScriptedMessages.h"
#include "TestDatabase.h"
#include "WindowControls.h"

#include "common/Grid.h"
#include "common/LauncherWindow.h"
#include "common/NodeTree.h"
#include "entry/Defs.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsShowForm.h"
#include "entry/mdlFunction.h"
#include "structure/frmConstructUI.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace vorlane;
using namespace vorlane::test;
using namespace Qt::StringLiterals;

namespace {

// A fresh demo account signed in through clsLoginMsg, its connection opened by clsShowForm, and
// the structure browser loaded on it with recording dialog launchers.
struct Browser
{
    TestDatabase db;
    std::shared_ptr<FakeLogin> login = std::make_shared<FakeLogin>();
    std::unique_ptr<clsShowForm> form;
    std::unique_ptr<frmConstructUI> window;
    QStringList launched;

    explicit Browser(qint16 optFlag = 0, bool hmjz = false)
    {
        Defs::instance().reset();
        login->connectionString = db.connectionString();
        clsLoginMsg msg;
        msg.setCLogin(login);
        msg.setOptFlag(optFlag);
        msg.setHMJZ(hmjz);
        msg.setMenueStyleID(2);
        form = std::make_unique<clsShowForm>();
        window = std::make_unique<frmConstructUI>();
        ConstructDialogLaunchers &l = window->launchers();
        l.addSet = [this](const QString &key) { launched << u"AddConstruct:" + key; };
        l.modifySet = [this](const QString &table, const QString &key, const QString &sys) {
            launched << u"ModifyConstruct:%1:%2:%3"_s.arg(table, key, sys);
        };
        l.addItem = [this](const QString &key) { launched << u"AddConstructItem:" + key; };
        l.modifyItem = [this](const QString &table, const QString &item) {
            launched << u"ModifyConstructItem:%1:%2"_s.arg(table, item);
        };
        window->FormLoad();
    }
    ~Browser()
    {
        window.reset();
        form.reset();
        Defs::instance().reset();
    }

    NodeTree *tree() { return window->findChild<NodeTree *>(u"Tree"_s); }
    Grid *grid() { return window->findChild<Grid *>(u"Grid"_s); }
    void click(const QString &key)
    {
        QVERIFY(tree()->selectKey(key));
        window->TreeClick();
    }
    // Makes the grid row whose column holds the text current; false when there is none.
    bool pickRow(int col, const QString &text)
    {
        for (int r = 1; r < grid()->Rows(); ++r) {
            if (grid()->TextMatrix(r, col) == text) {
                grid()->setRow(r);
                return true;
            }
        }
        return false;
    }
    void run(const QString &key) { window->findChild<QAction *>(u"mnu" + key)->trigger(); }
    QStringList rights() const { return login->calls.filter(u"RequestTask"_s); }
};

const QString Person = u"CR1^HR_HI_PERSON^"_s;
const QString Education = u"CR1^HR_HI_EDUCATION^HR_HI_PERSON"_s;
const QString Resume = u"CR1^HR_HI_RESUME^HR_HI_PERSON"_s;
const QString Contract = u"CR1^HR_HI_CONTRACT^HR_HI_PERSON"_s;

QStringList texts(const QList<Message> &messages)
{
    QStringList out;
    for (const Message &m : messages)
        out << m.text;
    return out;
}

} // namespace

class TestStructureBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void treeAndLists()
    {
        Browser b;
        NodeTree *tree = b.tree();
        QCOMPARE(tree->Nodes().first()->text(0), u"人员类"_s);
        QCOMPARE(tree->SelectedKey(), u"R1"_s);
        QCOMPARE(tree->Node(Education)->text(0), u"教育经历"_s);
        QCOMPARE(NodeTree::Tag(tree->Node(Education)), u"1"_s);
        QVERIFY(tree->Exists(u"CR2^DEPARTMENT^"_s));

        // The group's set list, shown at start-up.
        Grid *g = b.grid();
        QVERIFY(b.pickRow(1, u"hr_hi_person"_s));
        QCOMPARE(g->rowTexts(g->Row()).mid(3, 9).join(u'|'),
                 u"人员档案主表，每人一条当前记录|1-人员类||4-全部|119|0-系统||1-有|0-未删除"_s);

        RecorderScope recorder(Defs::instance().conn());
        b.click(Person);
        QCOMPARE(recorder->statements(),
                 QStringList{u"select * from hr_sys_itemdict where ctablecode='HR_HI_PERSON' "
                             u"order  by bsysflag, ishowOrder"_s});
        QVERIFY(b.pickRow(2, u"rSex"_s));
        QCOMPARE(g->rowTexts(g->Row()).mid(5, 3),
                 (QStringList{u"9-参照型"_s, u"HR_CT001-性别"_s, u"1-录入最底层"_s}));

        // What the dialogs call back, besides the new node of the flow test.
        b.window->UpdateTreeNode(Education, u"教育"_s);
        QCOMPARE(tree->Node(Education)->text(0), u"教育"_s);
        b.window->UpdateGrid(3);
        QCOMPARE(b.window->gridRow(), 3);
    }

    void optFlagHidesBuiltInDetail_data()
    {
        QTest::addColumn<int>("optFlag");
        QTest::addColumn<int>("hiddenWidth");
        QTest::addColumn<int>("itemRows");
        QTest::newRow("0") << 0 << 1500 << 25; // 24 items and the title row
        QTest::newRow("1") << 1 << 0 << 19;    // without the six built-in items
    }

    void optFlagHidesBuiltInDetail()
    {
        QFETCH(int, optFlag);
        QFETCH(int, hiddenWidth);
        QFETCH(int, itemRows);
        Browser b{qint16(optFlag)};
        for (int col : {4, 5, 6, 7})
            QCOMPARE(b.grid()->ColWidth(col), hiddenWidth);
        b.click(Person);
        for (int col : {1, 17, 18})
            QCOMPARE(b.grid()->ColWidth(col), hiddenWidth);
        QCOMPARE(b.grid()->Rows(), itemRows);
        QCOMPARE(b.grid()->TextMatrix(itemRows - 1, 0), QString::number(itemRows - 1));
    }

    void deleteItem_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("delFlag");
        // Deleting an empty item is the flow test's.
        const QString confirm = u"确认删除！"_s;
        QTest::newRow("system") << Person << u"cPsn_Name"_s << true
                                << QStringList{u"系统提供信息项不能删除"_s} << 0;
        QTest::newRow("voucher") << Person << u"vMobile"_s << true
                                 << QStringList{u"信息项已被单据引用，不能删除！"_s} << 0;
        QTest::newRow("authorised")
            << Person << u"vEmail"_s << true << QStringList{u"信息项已被授权，不能删除！"_s} << 0;
        QTest::newRow("cancelled") << Resume << u"vWitness"_s << false << QStringList{confirm} << 0;
        QTest::newRow("with data") << Education << u"vSchool"_s << true
                                   << QStringList{confirm, u"被引用已打上删除标志"_s} << 1;
    }

    void deleteItem()
    {
        QFETCH(QString, set);
        QFETCH(QString, item);
        QFETCH(bool, confirmed);
        QFETCH(QStringList, messages);
        QFETCH(int, delFlag);
        Browser b;
        MessageScope shown;
        shown->answers = {confirmed ? MsgResult::Ok : MsgResult::Cancel};
        b.click(set);
        QVERIFY(b.pickRow(2, item));
        b.window->setActiveControlOverride(BrowserFrame::ActiveControl::Grid);
        b.run(u"DELETEX"_s);

        QCOMPARE(texts(shown->shown), messages);
        QCOMPARE(b.rights(),
                 u"RequestTask(HM01010302,true,0)|RequestTask(HM01010302,false,0)"_s.split(u'|'));
        const QString table = KeyMiddleSegment(set).toLower();
        QVERIFY(b.db.columns(table).contains(item.toLower()));
        const QVariant flag = b.db.scalar(
            u"select bdelflag from hr_sys_itemdict where ctablecode='%1' and citemcode='%2'"_s.arg(
                table, item));
        QCOMPARE(flag.isValid() ? flag.toInt() : -1, delFlag);
    }

    void deleteSet_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("fromGroupList"); // set code picked in the group's list
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("delFlag");
        const QString confirm = u"请确认要删除该信息集！"_s;
        QTest::newRow("system") << Person << QString() << QStringList{u"系统提供信息集不能删除"_s}
                                << 0;
        QTest::newRow("referenced")
            << Contract << QString() << QStringList{u"信息集已被授权或被单据引用，不能删除！"_s}
            << 0;
        QTest::newRow("with data, from the group's list")
            << u"R1"_s << u"hr_hi_education"_s << QStringList{confirm, u"被引用已打上删除标志"_s}
            << 1;
    }

    void deleteSet()
    {
        QFETCH(QString, key);
        QFETCH(QString, fromGroupList);
        QFETCH(QStringList, messages);
        QFETCH(int, delFlag);
        Browser b;
        MessageScope shown;
        shown->answers = {MsgResult::Ok};
        b.click(key);
        if (!fromGroupList.isEmpty())
            QVERIFY(b.pickRow(1, fromGroupList));
        const QString code
            = fromGroupList.isEmpty() ? KeyMiddleSegment(key).toLower() : fromGroupList;
        const QString setKey
            = fromGroupList.isEmpty() ? key : u"CR1^%1^HR_HI_PERSON"_s.arg(fromGroupList.toUpper());
        b.run(u"DELETEL"_s);

        QCOMPARE(texts(shown->shown), messages);
        QCOMPARE(
            b.db.scalar(u"select bdelflag from hr_sys_setdict where ctablecode='%1'"_s.arg(code))
                .toInt(),
            delFlag);
        QVERIFY(b.db.tableExists(code));
        QVERIFY(b.tree()->Exists(setKey));
        // A flagged set stays listed, marked deleted.
        if (delFlag == 1) {
            QVERIFY(b.pickRow(1, code));
            QCOMPARE(b.grid()->TextMatrix(b.grid()->Row(), 11), u"1-已删除"_s);
        }
    }

    void commandsOpenDialogsOrRefuse()
    {
        Browser b;
        MessageScope shown;
        b.window->setActiveControlOverride(BrowserFrame::ActiveControl::Tree);
        b.run(u"ADDX"_s);    // group node: nothing
        b.run(u"MODIFYX"_s); // the grid is not active
        b.click(Education);
        b.run(u"ADDL"_s);
        b.run(u"MODIFYL"_s);
        b.window->setActiveControlOverride(BrowserFrame::ActiveControl::Grid);
        QVERIFY(b.pickRow(2, u"vSchool"_s));
        b.grid()->DblClick(); // a set node: modify item
        b.click(u"CR2^DEPARTMENT^"_s);
        b.run(u"ADDX"_s);
        b.run(u"MODIFYL"_s);
        QCOMPARE(b.launched,
                 (QStringList{u"ModifyConstruct:HR_HI_EDUCATION:%1:1"_s.arg(Education),
                              u"ModifyConstructItem:hr_hi_education:vSchool"_s}));
        QCOMPARE(texts(shown->shown).join(u'|'),
                 u"请选择要修改的信息项|只能在根节点下增加子集！|DEPARTMENT表的信息项不能增加|"
                 "DEPARTMENT表的信息项不能编辑"_s);

        // A refused right ends the command without a word of the window's own.
        b.launched.clear();
        b.login->replies = {{false, 7, u"无权操作"_s}};
        b.click(u"R1"_s);
        b.run(u"ADDL"_s);
        QVERIFY(b.launched.isEmpty());
        QCOMPARE(shown->lastText(), u"无权操作"_s);
    }

    void operationMenuFitsTheNode()
    {
        Browser b;
        b.window->show();
        const auto shown = [&b](QAbstractScrollArea *source) {
            Q_EMIT source->customContextMenuRequested(QPoint(5, 5));
            QMenu *menu = b.window->operationMenu();
            [&] { QTRY_VERIFY(menu->isVisible()); }();
            static const QRegularExpression editing(u"^mnu(ADD|MODIFY|DELETE)"_s);
            QStringList names;
            for (QAction *action : menu->actions())
                if (action->isVisible() && editing.match(action->objectName()).hasMatch())
                    names << action->objectName();
            menu->close();
            names.sort();
            return names.join(u' ');
        };
        QCOMPARE(shown(b.grid()), u"mnuADDL mnuDELETEL mnuMODIFYL"_s); // group node
        b.click(Education);
        QCOMPARE(shown(b.tree()), u"mnuADDX mnuDELETEL mnuMODIFYL"_s);
        QCOMPARE(shown(b.grid()), u"mnuADDX mnuDELETEX mnuMODIFYX"_s);
        QVERIFY(b.window->findChild<QAction *>(u"mnuADDL"_s)->isVisible()); // back for the menu bar
    }

    void carriedForwardRefusesDeletes()
    {
        Browser b(0, true);
        MessageScope shown;
        b.click(Resume);
        b.window->setActiveControlOverride(BrowserFrame::ActiveControl::Grid);
        b.run(u"DELETEL"_s);
        b.run(u"DELETEX"_s);
        QCOMPARE(texts(shown->shown), QStringList(2, u"数据已结转，不能进行任何业务操作"_s));
        QVERIFY(b.rights().isEmpty());
        QVERIFY(b.db.tableExists(u"hr_hi_resume"_s));
    }

    void findAndShowConstructUI()
    {
        Browser b;
        MessageScope shown;
        const auto find = [&b](const QString &field, const QString &sign, const QString &value) {
            onModalDialog<frmFind>([=](frmFind *dialog) {
                if (!field.isEmpty())
                    dialog->cboField()->setCurrentText(field);
                if (!sign.isEmpty())
                    dialog->cboSign()->setCurrentText(sign);
                dialog->txtValue()->setText(value);
                dialog->cmdOk()->click();
            });
            b.run(u"Find"_s);
        };
        find({}, u"包含"_s, u"经历"_s);
        QCOMPARE(b.tree()->SelectedKey(), Education);
        QCOMPARE(b.grid()->TextMatrix(1, 1), u"hr_hi_education"_s);
        QAction *f3 = b.window->findChild<QAction *>(u"keyFindNext"_s);
        f3->trigger();
        QCOMPARE(b.tree()->SelectedKey(), Resume);
        shown->answers = {MsgResult::Ok};
        f3->trigger(); // no further match: start again from the top
        QCOMPARE(texts(shown->shown), QStringList{u"查找完毕，是否重新从头查找？"_s});
        QCOMPARE(shown->shown.first().defaultButton, MsgResult::Cancel);
        QCOMPARE(b.tree()->SelectedKey(), Education);

        // The code field compares the upper-cased code of the key.
        find(u"信息集代码"_s, {}, u"hr_hi_family"_s);
        QCOMPARE(b.tree()->SelectedKey(), u"CR1^HR_HI_FAMILY^HR_HI_PERSON"_s);

        // ShowConstructUI keeps one window, modeless, for every call.
        QWidget owner;
        b.form->ShowConstructUI(0, &owner);
        frmConstructUI *window = existingWindowInstance<frmConstructUI>();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->parentWidget(), &owner);
        QCOMPARE(ConstructBrowser::open(), window);
        window->close();
        QVERIFY(!ConstructBrowser::open());
        b.form->ShowConstructUI(0, nullptr);
        QCOMPARE(existingWindowInstance<frmConstructUI>(), window);
        window->close();
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestStructureBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_structure_browser.moc"
