#include "HostSession.h"
#include "RecordedStatements.h"
#include "ScriptedMessages.h"
#include "WindowControls.h"

#include "archive/ArchiveBrowser.h"
#include "archive/ArchiveClassActions.h"
#include "archive/ArchiveItemActions.h"
#include "archive/frmAddModiArchiveItem.h"
#include "archive/frmAddModifyArchive.h"
#include "common/LauncherWindow.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsManagefrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::click;
using vorlane::test::MessageScope;
using vorlane::test::RecorderScope;

namespace {

// The archive browser as the editors see it: a tree of node keys and a grid position.
class FakeBrowser : public ArchiveBrowser
{
public:
    FakeBrowser() { setOpen(this); }

    QStringList calls;
    QMap<QString, QStringList> tree; // node key -> child keys
    QString selected;
    int row = 2;
    int rows = 5;

    void AddClassNode(const QString &classKeyPart, const QString &name) override
    {
        calls << u"AddClassNode(%1,%2)"_s.arg(classKeyPart, name);
        tree.insert(u"R"_s + classKeyPart, {});
    }
    void
    AddCodeNode(const QString &parentKey, const QString &codeKeyPart, const QString &text) override
    {
        calls << u"AddCodeNode(%1,%2,%3)"_s.arg(parentKey, codeKeyPart, text);
        tree[parentKey] << u"C"_s + codeKeyPart;
        tree.insert(u"C"_s + codeKeyPart, {});
    }
    void RefreshAfterEdit(int r) override { calls << u"RefreshAfterEdit(%1)"_s.arg(r); }
    int gridRow() const override { return row; }
    int gridRows() const override { return rows; }
    QString selectedNodeKey() const override { return selected; }
    void setSelectedNodeText(const QString &text) override
    {
        calls << u"setSelectedNodeText(%1)"_s.arg(text);
    }
    bool hasTreeNode(const QString &key) const override { return tree.contains(key); }
    QString firstChildKey(const QString &key) const override { return tree.value(key).value(0); }
};

// A host session that closes every window it leaves open.
struct Session : vorlane::test::HostSession
{
    ~Session()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
    }
    QString text(const QString &sql) { return db.scalar(sql).toString(); }
    int count(const QString &sql) { return db.scalar(sql).toInt(); }
};

template<class T = QLineEdit>
T *box(QWidget *dialog, const QString &name)
{
    return vorlane::test::control<T>(dialog, name);
}

void setText(QWidget *dialog, const QString &name, const QString &text)
{
    box(dialog, name)->setText(text);
}

// The user leaves the name box for the next one.
void leaveName(QWidget *dialog)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box(dialog, u"txtName"_s), &out);
}

// A multi-level class HR_CT007, with the top-level code 01 unless told otherwise, written
// through the editors' actions.
void createClass(bool withTopCode = true)
{
    ArchiveClassInput cls;
    cls.code = u"007"_s;
    cls.name = u"职务级别"_s;
    cls.levels = 1;
    QVERIFY(AddArchiveClass(cls, 0).ok);
    if (!withTopCode)
        return;
    ArchiveItemInput top;
    top.code = u"01"_s;
    top.name = u"管理类"_s;
    QVERIFY(AddArchiveItem({u"HR_CT007"_s, {}, 0, u"RHR_CT007^1"_s},
                           *LoadArchiveClass(u"HR_CT007"_s),
                           top,
                           nullptr,
                           0)
                .ok);
}

} // namespace

class TestArchiveEditors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addClass();
    void failedClassAddLeavesNothing();
    void modifyClassCarriesFlags();
    void addCodes();
    void failedCodeAddLeavesNothing();
    void modifyCodeHidesSubtree();
};

void TestArchiveEditors::addClass()
{
    Session s;
    FakeBrowser browser;
    MessageScope messages;
    RecorderScope recorder(s.conn());

    clsManagefrm().AddArchive(0, nullptr);
    auto *dialog = existingWindowInstance<frmAddModifyArchive>();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(box(dialog, u"txtCode"_s)->text(), u"007"_s);
    QVERIFY(!box(dialog, u"txtCode"_s)->isEnabled());
    QVERIFY(box<QCheckBox>(dialog, u"chkHide"_s)->isChecked());

    // Refusals: nothing is written, the dialog stays open.
    const QList<std::pair<QString, QString>> refused{
        {u" "_s, u"类别名称不能为空，请输入..."_s},
        {u"一二三四五六七八九十一二三四五六"_s, u"输入内容太长，请重新输入"_s},
        {u"性别"_s, u"类别名称不唯一，请重新输入..."_s},
    };
    for (const auto &[name, message] : refused) {
        setText(dialog, u"txtName"_s, name);
        click(dialog, "cmdOk");
        QCOMPARE(messages->lastText(), message);
    }
    QVERIFY(recorder->executed().isEmpty());
    QVERIFY(dialog->isVisible());

    // Fifteen Chinese characters are the most a name may have.
    const QString name = u"一二三四五六七八九十一二三四五"_s;
    setText(dialog, u"txtName"_s, name);
    setText(dialog, u"txtDescription"_s, u"职务的级别"_s);
    box<QCheckBox>(dialog, u"chkLevels"_s)->setChecked(true);
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"创建成功"_s);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(browser.calls, QStringList{u"AddClassNode(HR_CT007^1,%1)"_s.arg(name)});

    QCOMPARE(s.text(u"select vTableName||'/'||iTableClass||'/'||bMultiLevel||'/'||ishowOrder||'/'"
                    "||bDisplay||'/'||bsysFlag from hr_sys_setdict where cTableCode='HR_CT007'"_s),
             name + u"/3/1/5/1/1"_s);
    QVERIFY(s.db.tableExists(u"HR_CT007"_s));
    // One transaction holds the dictionary row, the table and its columns.
    for (const db::StatementEvent &e : recorder->events)
        if (e.kind == db::StatementEvent::Kind::Execute)
            QVERIFY2(e.inTransaction, qPrintable(e.statement));

    // The next showing numbers afresh.
    clsManagefrm().AddArchive(0, nullptr);
    QCOMPARE(box(dialog, u"txtCode"_s)->text(), u"008"_s);
    QVERIFY(box(dialog, u"txtName"_s)->text().isEmpty());
}

void TestArchiveEditors::failedClassAddLeavesNothing()
{
    Session s;
    MessageScope messages;
    s.db.refuse(u"hr_sys_itemdict"_s, u"insert"_s, u"NEW.ctablecode='HR_CT007'"_s);

    clsManagefrm().AddArchive(0, nullptr);
    auto *dialog = existingWindowInstance<frmAddModifyArchive>();
    setText(dialog, u"txtName"_s, u"职务级别"_s);
    setText(dialog, u"txtMemo"_s, u"备注"_s);
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"创建失败"_s);
    QVERIFY(dialog->isVisible());
    QCOMPARE(box(dialog, u"txtName"_s)->text(), u"职务级别"_s);
    QCOMPARE(box(dialog, u"txtMemo"_s)->text(), u"备注"_s);
    QCOMPARE(s.count(u"select (select count(*) from hr_sys_setdict where cTableCode='HR_CT007') + "
                     "(select count(*) from Rpt_GRPDEF where Tablename='HR_CT007')"_s),
             0);
    QVERIFY(!s.db.tableExists(u"HR_CT007"_s));
}

void TestArchiveEditors::modifyClassCarriesFlags()
{
    Session s;
    FakeBrowser browser;
    browser.selected = u"RHR_CT006^1"_s;
    MessageScope messages;

    clsManagefrm().ModifyArchive(u"HR_CT006"_s, 0, nullptr);
    auto *dialog = existingWindowInstance<frmAddModifyArchive>();
    QCOMPARE(box(dialog, u"txtCode"_s)->text(), u"HR_CT006"_s);
    QCOMPARE(box(dialog, u"txtName"_s)->text(), u"行政区划"_s);
    // Divisions go three levels deep: the level box is locked.
    QVERIFY(!box<QCheckBox>(dialog, u"chkLevels"_s)->isEnabled());
    QVERIFY(box<QCheckBox>(dialog, u"chkLevels"_s)->isChecked());

    setText(dialog, u"txtName"_s, u"区划"_s);
    box<QCheckBox>(dialog, u"chkHide"_s)->setChecked(false);
    QVERIFY(!box<QCheckBox>(dialog, u"chkSys"_s)->isChecked());
    box<QCheckBox>(dialog, u"chkSys"_s)->setChecked(true);
    messages->answers = {MsgResult::Cancel};
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"修改确认！"_s);
    QCOMPARE(s.count(u"select count(*) from HR_CT006 where bhideFlag='1' or bsysflag='1'"_s), 0);

    messages->answers = {MsgResult::Ok};
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"修改成功"_s);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(browser.calls.join(u'|'),
             u"RefreshAfterEdit(2)|setSelectedNodeText(区划(HR_CT006))"_s);
    QCOMPARE(s.text(u"select vTableName||'/'||bDisplay||'/'||bsysFlag from hr_sys_setdict "
                    "where cTableCode='HR_CT006'"_s),
             u"区划/0/1"_s);
    QCOMPARE(s.count(u"select count(*) from HR_CT006 where bhideFlag<>'1' or bsysflag<>'1'"_s), 0);

    // Top-level codes only: the level box is free. Operation flag 1 hides the user-defined box;
    // after the carry-forward nothing can be saved.
    clsLoginMsg login;
    login.setOptFlag(1);
    login.setHMJZ(true);
    clsManagefrm().ModifyArchive(u"HR_CT001"_s, 0, nullptr);
    QVERIFY(box<QCheckBox>(dialog, u"chkLevels"_s)->isEnabled());
    QVERIFY(box<QCheckBox>(dialog, u"chkSys"_s)->isHidden());
    QVERIFY(!box<QPushButton>(dialog, u"cmdOk"_s)->isEnabled());
}

void TestArchiveEditors::addCodes()
{
    Session s;
    FakeBrowser browser;
    MessageScope messages;
    createClass(false);
    browser.tree.insert(u"RHR_CT007^1"_s, {});

    // Top-level codes: the first fixes the length of the others.
    clsManagefrm().AddArchiveItem(u"RHR_CT007^1"_s, u"HR_CT007"_s, {}, 0, 0, nullptr);
    auto *dialog = existingWindowInstance<frmAddModiArchiveItem>();
    QLineEdit *code = box(dialog, u"txtCode"_s);
    QTest::keyClicks(code, u"0a1"_s);
    QCOMPARE(code->text(), u"01"_s);
    setText(dialog, u"txtName"_s, u"管理类"_s);
    leaveName(dialog);
    QCOMPARE(box(dialog, u"txtSpell"_s)->text(), u"GLL"_s);
    QCOMPARE(box(dialog, u"txtDescription"_s)->text(), u"管理类"_s);
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"添加成功"_s);
    QVERIFY(dialog->isVisible());
    QVERIFY(code->text().isEmpty());
    QCOMPARE(browser.calls.last(), u"AddCodeNode(RHR_CT007^1,HR_CT007^01^0,管理类)"_s);

    const QList<std::tuple<QString, QString, QString>> refusedTop{
        {u"1"_s, u"技术类"_s, u"档案编号不规范，编码长度应该为2位"_s},
        {u"02"_s, u"管理类"_s, u"档案名称不唯一，请重新输入..."_s},
        {u"01"_s, u"技术类"_s, u"档案编码不唯一，请重新输入..."_s},
    };
    for (const auto &[c, name, message] : refusedTop) {
        code->setText(c);
        setText(dialog, u"txtName"_s, name);
        click(dialog, "cmdOk");
        QCOMPARE(messages->lastText(), message);
    }

    // Child codes of 01: its prefix and a longer code, the length of the first child.
    RecorderScope recorder(s.conn());
    clsManagefrm().AddArchiveItem(u"CHR_CT007^01^0"_s, u"HR_CT007"_s, u"01"_s, 0, 0, nullptr);
    QCOMPARE(code->text(), u"01"_s);
    setText(dialog, u"txtName"_s, u"高级管理"_s);
    for (const QString &c : {u"01"_s, u"1101"_s}) { // the parent itself, another prefix
        code->setText(c);
        click(dialog, "cmdOk");
        QCOMPARE(messages->lastText(), u"代码编号不规范，请输入代码前2位为01的编码"_s);
    }
    for (const QString &statement : recorder->statements())
        QVERIFY2(!statement.contains(u"'1101'"_s), qPrintable(statement));
    code->setText(u"0101"_s);
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"添加成功"_s);
    QCOMPARE(s.text(u"select ilevels||'/'||cpCodeID||'/'||vsimpleName||'/'||bsysFlag from "
                    "HR_CT007 where ccodeID='0101'"_s),
             u"1/01/高级管理/1"_s);
    QCOMPARE(s.text(u"select bChildFlag from HR_CT007 where ccodeID='01'"_s), u"1"_s);

    // A refreshed tree no longer shows 01's children: the length comes from the table.
    browser.tree.clear();
    code->setText(u"010201"_s);
    setText(dialog, u"txtName"_s, u"中级管理"_s);
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"档案编号不规范，编码长度应该为4位"_s);

    // Pasted text keeps its digits only.
    code->clear();
    QApplication::clipboard()->setText(u"01x02"_s);
    code->paste();
    QCOMPARE(code->text(), u"0102"_s);
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"添加成功"_s);
}

void TestArchiveEditors::failedCodeAddLeavesNothing()
{
    Session s;
    MessageScope messages;
    createClass();
    s.db.refuse(u"HR_CT007"_s, u"update of bChildFlag"_s);

    clsManagefrm().AddArchiveItem(u"CHR_CT007^01^0"_s, u"HR_CT007"_s, u"01"_s, 0, 0, nullptr);
    auto *dialog = existingWindowInstance<frmAddModiArchiveItem>();
    setText(dialog, u"txtCode"_s, u"0101"_s);
    setText(dialog, u"txtName"_s, u"高级管理"_s);
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"更新上级代码的分级标志失败！"_s);
    QCOMPARE(s.count(u"select count(*) from HR_CT007 where ccodeID='0101'"_s), 0);
    QCOMPARE(s.text(u"select bChildFlag from HR_CT007 where ccodeID='01'"_s), u"0"_s);
    QVERIFY(dialog->isVisible());
    QCOMPARE(box(dialog, u"txtCode"_s)->text(), u"0101"_s);
    QCOMPARE(box(dialog, u"txtName"_s)->text(), u"高级管理"_s);
}

void TestArchiveEditors::modifyCodeHidesSubtree()
{
    Session s;
    FakeBrowser browser;
    MessageScope messages;
    const int beijing = s.count(u"select count(*) from HR_CT006 where ccodeID like '11%'"_s);
    QVERIFY(beijing > 1);

    clsManagefrm().ModifyArchiveItem(u"HR_CT006"_s, u"11"_s, 0, nullptr);
    auto *dialog = existingWindowInstance<frmAddModiArchiveItem>();
    QVERIFY(!box(dialog, u"txtCode"_s)->isEnabled());
    QCOMPARE(box(dialog, u"txtName"_s)->text(), u"北京市"_s);

    // Leaving the name box rewrites the short name and the spell in this mode too.
    setText(dialog, u"txtName"_s, u"北京"_s);
    leaveName(dialog);
    QCOMPARE(box(dialog, u"txtDescription"_s)->text(), u"北京"_s);
    QCOMPARE(box(dialog, u"txtSpell"_s)->text(), u"BJ"_s);
    box<QCheckBox>(dialog, u"chkHide"_s)->setChecked(true);
    messages->answers = {MsgResult::Ok};
    click(dialog, "cmdOk");
    QCOMPARE(messages->lastText(), u"修改成功"_s);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(browser.calls, QStringList{u"RefreshAfterEdit(2)"_s});
    QCOMPARE(s.count(u"select count(*) from HR_CT006 where bhideFlag='1'"_s), beijing);
    QCOMPARE(s.count(u"select count(*) from HR_CT006 where ccodeID like '11%' and bhideFlag='1'"_s),
             beijing);
    QCOMPARE(s.text(u"select vdescription||'/'||vsimpleSpell from HR_CT006 where ccodeID='11'"_s),
             u"北京/BJ"_s);
}

QTEST_MAIN(TestArchiveEditors)
#include "tst_archive_editors.moc"
