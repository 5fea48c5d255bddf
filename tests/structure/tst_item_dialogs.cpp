// The item creation and modification dialogs, driven through the launchers and their named
// controls on a fresh demo account database.

#include "FakeConstructBrowser.h"
#include "HostSession.h"
#include "RecordedStatements.h"
#include "ScriptedMessages.h"
#include "TestDatabase.h"
#include "WindowControls.h"

#include "common/LauncherWindow.h"
#include "entry/clsManagefrm.h"
#include "entry/mdlFunction.h"
#include "structure/ConstructBrowser.h"
#include "structure/frmAddConstructItem.h"
#include "structure/frmModifyConstructItem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace vorlane;
using namespace vorlane::test;
using namespace Qt::StringLiterals;

namespace {

const QString familyNode = u"CR1^HR_HI_FAMILY^HR_HI_PERSON"_s;
const QString voucherNote = u"\n如果单据模板用到该信息项，请重新创建该单据模板！"_s;

// One input of the dialogs: type by its id, reference by position in its list.
struct Entry
{
    QString code;
    QString name;
    QString type = u"2"_s;
    QString len = {};
    QString dec = {};
    QString deflt = {};
};

void enter(QWidget *dialog, const Entry &e)
{
    // Chosen as a user does, so choosing the type already selected applies it again.
    auto *type = control<QComboBox>(dialog, "cboType");
    const int index = type->findText(e.type + u'-', Qt::MatchStartsWith);
    type->setCurrentIndex(index);
    Q_EMIT type->activated(index);
    control<QLineEdit>(dialog, "txtItemCode")->setText(e.code);
    control<QLineEdit>(dialog, "txtItemName")->setText(e.name);
    if (!e.len.isNull())
        control<QLineEdit>(dialog, "txtNumLen")->setText(e.len);
    if (!e.dec.isNull())
        control<QLineEdit>(dialog, "txtDecLen")->setText(e.dec);
    if (!e.deflt.isNull())
        control<QLineEdit>(dialog, "txtDefault")->setText(e.deflt);
}

QTreeWidget *pending(QWidget *dialog)
{
    return control<QTreeWidget>(dialog, "lvwXJ");
}

} // namespace

class TestItemDialogs : public QObject
{
    Q_OBJECT

private:
    // A host session that closes the dialogs it opened.
    struct Session : HostSession
    {
        explicit Session(qint16 optFlag = 0, bool hmjz = false)
            : HostSession({hmjz, optFlag})
        {}
        ~Session()
        {
            if (auto *w = existingWindowInstance<frmAddConstructItem>())
                w->close();
            if (auto *w = existingWindowInstance<frmModifyConstructItem>())
                w->close();
        }
        QString text(const QString &sql) { return db.scalar(sql).toString(); }
        QString columnType(const QString &table, const QString &column)
        {
            return text(u"select lower(type) from pragma_table_info('%1') where name='%2'"_s.arg(
                table, column));
        }
    };

    frmAddConstructItem *openAdd(const QString &nodeKey)
    {
        clsManagefrm().AddConstructItem(nodeKey, 0, nullptr);
        return existingWindowInstance<frmAddConstructItem>();
    }

    frmModifyConstructItem *openModify(const QString &table, const QString &item)
    {
        clsManagefrm().ModifyConstructItem(table, item, 0, nullptr);
        return existingWindowInstance<frmModifyConstructItem>();
    }

private Q_SLOTS:
    void addsEveryTypeInOneCommit();
    void typeTable_data();
    void typeTable();
    void entryChecks_data();
    void entryChecks();
    void pendingListRecallCorrectDelete();
    void modifyRulesByTypeAndData();
    void failedStatementLeavesNothing();
    void loginFlagsAndAttendanceSets();
};

void TestItemDialogs::addsEveryTypeInOneCommit()
{
    Session s;
    FakeConstructBrowser browser(2, 5); // a grid of five rows, the third current
    MessageScope messages;
    frmAddConstructItem *dlg = openAdd(familyNode);
    QCOMPARE(dlg->tableName(), u"家庭成员"_s);

    const QList<Entry> entries{
        {u"cFixed"_s, u"定长"_s, u"1"_s, u"10"_s},
        {u"vText"_s, u"变长"_s, u"2"_s, u"40"_s, {}, u"无"_s},
        {u"iCount"_s, u"整数"_s, u"3"_s, {}, {}, u"5"_s},
        {u"nAmount"_s, u"金额"_s, u"4"_s, u"12"_s, u"2"_s, u"1.50"_s},
        {u"dDay"_s, u"日期"_s, u"5"_s, {}, {}, u"2004-2-3"_s},
        {u"bFlag"_s, u"标志"_s, u"6"_s, {}, {}, u"1"_s},
        {u"rRef"_s, u"参照"_s, u"9"_s},
        {u"tStamp"_s, u"时间"_s, u"14"_s, {}, {}, u"2020-5-6 7:08"_s},
        {u"sVersion"_s, u"版本"_s, u"15"_s},
    };
    for (const Entry &e : entries) {
        enter(dlg, e);
        click(dlg, "cmdSure");
        QVERIFY2(messages->shown.isEmpty(), qPrintable(messages->lastText()));
    }
    QCOMPARE(pending(dlg)->topLevelItemCount(), entries.size());

    RecorderScope recorder(s.conn());
    messages->answers = {MsgResult::Ok};
    click(dlg, "cmdOk");
    QCOMPARE(messages->shown.size(), 2);
    const Message &confirm = messages->shown.first();
    QCOMPARE(confirm.text, u"请确认向表中增加字段！"_s);
    QCOMPARE(confirm.buttons, MsgButtons::OkCancel);
    QCOMPARE(confirm.defaultButton, MsgResult::Cancel);
    QCOMPARE(messages->lastText(), u"增加成功！"_s); // no voucher built on this set
    QVERIFY(!dlg->isVisible());
    QCOMPARE(browser.calls.filter(u"UpdateGrid"_s), QStringList{u"UpdateGrid 2"_s});

    // One add statement for all columns, inside the transaction.
    QStringList alters;
    for (const auto &e : recorder->events)
        if (e.statement.startsWith(u"ALTER TABLE"_s)) {
            alters << e.statement;
            QVERIFY(e.inTransaction);
        }
    QCOMPARE(alters,
             QStringList{u"ALTER TABLE HR_HI_FAMILY ADD cFixed char(10)  null ,vText varchar(40)  "
                         "null ,iCount int  null ,nAmount numeric(12,2)  null ,dDay datetime  "
                         "null ,bFlag bit  null ,rRef varchar(30)  null ,tStamp datetime  null "
                         ",sVersion timestamp  null "_s});
    QCOMPARE(s.columnType(u"hr_hi_family"_s, u"nAmount"_s), u"numeric(12,2)"_s);

    const auto item = [&s](const QString &code, const QString &column) {
        return s.text(u"select %1 from hr_sys_itemdict where ctablecode='HR_HI_FAMILY' and "
                      "citemcode='%2'"_s.arg(column, code));
    };
    QCOMPARE(item(u"dDay"_s, u"vDefault"_s), u"2004-02-03"_s);
    QCOMPARE(item(u"dDay"_s, u"vFormat"_s), u"YYYY-MM-DD"_s);
    QCOMPARE(item(u"tStamp"_s, u"vDefault"_s), u"2020-05-06"_s);
    QCOMPARE(item(u"nAmount"_s, u"iItemDec"_s), u"2"_s);
    QCOMPARE(item(u"iCount"_s, u"iItemLen"_s), u"9"_s);
    QCOMPARE(item(u"rRef"_s, u"vReferenceObj"_s).isEmpty(), false);
    QCOMPARE(item(u"cFixed"_s, u"ishowOrder"_s), u"6"_s); // five grid rows plus the first entry
    QCOMPARE(item(u"sVersion"_s, u"ishowOrder"_s), u"14"_s);
    QCOMPARE(item(u"sVersion"_s, u"bdefault"_s), u"true"_s);
    QCOMPARE(item(u"cFixed"_s, u"iBusinessFlag"_s), u"4"_s);
    QCOMPARE(item(u"cFixed"_s, u"iItemDec"_s), u"0"_s);
    QCOMPARE(s.text(u"select count(*) from Rpt_ItmDEF where TableName='HR_HI_FAMILY' and FieldName "
                    "in ('cFixed','vText','iCount','nAmount','dDay','bFlag','rRef','tStamp',"
                    "'sVersion')"_s),
             QString::number(entries.size()));
}

void TestItemDialogs::typeTable_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("state"); // 长度 小数 格式 参照 默认值: "+" enabled, "-" not
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("refSet");

    const QString f = u"2-YYYY-MM-DD"_s;
    QTest::newRow("2") << u"2"_s << u"+---+"_s << QString() << QString() << false;
    QTest::newRow("3") << u"3"_s << u"----+"_s << u"9"_s << QString() << false;
    QTest::newRow("4") << u"4"_s << u"++--+"_s << QString() << QString() << false;
    QTest::newRow("5") << u"5"_s << u"--+-+"_s << u"10"_s << f << false;
    QTest::newRow("6") << u"6"_s << u"----+"_s << u"1"_s << QString() << false;
    QTest::newRow("9") << u"9"_s << u"---+-"_s << u"30"_s << QString() << true;
    QTest::newRow("14") << u"14"_s << u"--+-+"_s << u"19"_s << f << false;
    QTest::newRow("15") << u"15"_s << u"----+"_s << u"8"_s << QString() << false;
}

void TestItemDialogs::typeTable()
{
    QFETCH(QString, type);
    QFETCH(QString, state);
    QFETCH(QString, length);
    QFETCH(QString, format);
    QFETCH(bool, refSet);

    Session s;
    MessageScope messages;
    frmAddConstructItem *dlg = openAdd(familyNode);
    control<QLineEdit>(dlg, "txtDefault")->setText(u"x"_s);
    enter(dlg, {u"vX"_s, u"某项"_s, type});
    QString seen;
    for (const char *name : {"txtNumLen", "txtDecLen", "cboFormat", "cboRef", "txtDefault"})
        seen += control(dlg, name)->isEnabled() ? u'+' : u'-';
    QCOMPARE(seen, state);
    QCOMPARE(control<QLineEdit>(dlg, "txtNumLen")->text(), length);
    QCOMPARE(control<QComboBox>(dlg, "cboFormat")->currentText(), format);
    QCOMPARE(!control<QComboBox>(dlg, "cboRef")->currentText().isEmpty(), refSet);
    QVERIFY(control<QLineEdit>(dlg, "txtDefault")->text().isEmpty());
}

void TestItemDialogs::entryChecks_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("len");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("deflt");
    QTest::addColumn<QString>("message"); // empty: the entry is taken

    const auto row = [](const char *tag,
                        const QString &type,
                        const QString &code,
                        const QString &len,
                        const QString &dec,
                        const QString &deflt,
                        const QString &message,
                        const QString &name = u"新项"_s) {
        QTest::newRow(tag) << type << code << name << len << dec << deflt << message;
    };
    const QString x = u"vNew"_s;
    row("no code", u"2"_s, {}, u"10"_s, {}, {}, u"类别编码不能为空，请输入..."_s);
    row("no name", u"2"_s, x, u"10"_s, {}, {}, u"信息项名称不能为空，请输入..."_s, {});
    row("digit first", u"2"_s, u"1ABC"_s, u"10"_s, {}, {}, u"第一个字符为非法字符，请重新输入！"_s);
    row("not a column name", u"2"_s, u"v信息"_s, u"10"_s, {}, {}, u"含有非法字符，请重新输入！"_s);
    row("text no length", u"2"_s, x, {}, {}, {}, u"请输入数据长度！"_s);
    row("text 201", u"2"_s, x, u"201"_s, {}, {}, u"数据长度不应大于200"_s);
    row("number 16", u"4"_s, x, u"16"_s, u"2"_s, {}, u"输入的数据长度不能大于15"_s);
    row("number no decimals", u"4"_s, x, u"10"_s, {}, {}, u"请输入小数位长度"_s);
    row("number 0 decimals", u"4"_s, x, u"10"_s, u"0"_s, {}, u"小数位长度不能等于0"_s);
    row("number 7 decimals", u"4"_s, x, u"15"_s, u"7"_s, {}, u"小数位长度不能大于6"_s);
    row("number 5,4", u"4"_s, x, u"5"_s, u"4"_s, {}, u"输入的数据长度不能小于5"_s);
    row("number 8,6", u"4"_s, x, u"8"_s, u"6"_s, {}, {});
    row("number no point", u"4"_s, x, u"10"_s, u"2"_s, u"12"_s, u"默认值不能没有小数位"_s);
    row("number wide", u"4"_s, x, u"5"_s, u"2"_s, u"123.4"_s, u"默认值整数位长度太长"_s);
    row("number point last", u"4"_s, x, u"10"_s, u"2"_s, u"1."_s, u"默认值小数位没有输入"_s);
    row("number deep", u"4"_s, x, u"10"_s, u"2"_s, u"1.234"_s, u"默认值小数位长度太长"_s);
    row("char default long", u"1"_s, x, u"2"_s, {}, u"abc"_s, u"默认值太长"_s);
    row("year 1899", u"5"_s, x, {}, {}, u"1899"_s, u"输入年不能小于1900"_s);
    row("year 3001", u"5"_s, x, {}, {}, u"3001"_s, u"输入年不能大于3000"_s);
    row("no date", u"5"_s, x, {}, {}, u"2004-13-40"_s, u"默认值不正确"_s);
    row("date late", u"5"_s, x, {}, {}, u"3001-1-1"_s, u"日期默认值不能大于3000-12-12"_s);
    row("date early", u"14"_s, x, {}, {}, u"1899-12-31"_s, u"日期默认值不能小于1900-1-1"_s);
    row("code taken", u"2"_s, u"vName"_s, u"10"_s, {}, {}, u"信息项代码不唯一，请重新输入..."_s);
    row("name taken", u"2"_s, x, u"10"_s, {}, {}, u"信息项名称不唯一，请重新输入..."_s, u"姓名"_s);
}

void TestItemDialogs::entryChecks()
{
    QFETCH(QString, type);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, len);
    QFETCH(QString, dec);
    QFETCH(QString, deflt);
    QFETCH(QString, message);

    Session s;
    MessageScope messages;
    frmAddConstructItem *dlg = openAdd(familyNode);
    enter(dlg, {code, name, type, len, dec, deflt});
    click(dlg, "cmdSure");
    QCOMPARE(messages->lastText(), message);
    QCOMPARE(pending(dlg)->topLevelItemCount(), message.isEmpty() ? 1 : 0);
    if (!message.isEmpty())
        QCOMPARE(messages->shown.last().icon, MsgIcon::Information);
}

void TestItemDialogs::pendingListRecallCorrectDelete()
{
    Session s;
    MessageScope messages;
    frmAddConstructItem *dlg = openAdd(familyNode);
    QTreeWidget *list = pending(dlg);
    auto *code = control<QLineEdit>(dlg, "txtItemCode");

    // Typed and pasted text pass the same filter.
    QTest::keyClicks(code, u"v-A b"_s);
    QCOMPARE(code->text(), u"vAb"_s);
    code->insert(u"x'y"_s);
    QCOMPARE(code->text(), u"vAb"_s);
    auto *len = control<QLineEdit>(dlg, "txtNumLen");
    len->insert(u"1a"_s);
    QVERIFY(len->text().isEmpty());

    // Checks on leaving a field.
    code->setText(u"9x"_s);
    Q_EMIT code->editingFinished();
    QCOMPARE(messages->lastText(), u"第一个字符为非法字符，请重新输入！"_s);
    len->setText(u"007"_s);
    Q_EMIT len->editingFinished();
    QCOMPARE(len->text(), u"7"_s);
    len->setText(u"0"_s);
    Q_EMIT len->editingFinished();
    QCOMPARE(messages->lastText(), u"数据长度应该大于0，请重新输入！"_s);
    control<QComboBox>(dlg, "cboBl")->setCurrentIndex(1);
    QCOMPARE(control<QComboBox>(dlg, "cboNull")->currentText(), u"1-不能"_s);
    messages->shown.clear();

    enter(dlg, {u"vA"_s, u"甲"_s, u"2"_s, u"20"_s});
    click(dlg, "cmdSure");
    enter(dlg, {u"vB"_s, u"乙"_s, u"2"_s, u"10"_s});
    click(dlg, "cmdSure");
    enter(dlg, {u"vA"_s, u"丙"_s, u"2"_s, u"10"_s});
    click(dlg, "cmdSure");
    QCOMPARE(messages->lastText(), u"输入的信息项代码重复！"_s);
    enter(dlg, {u"vC"_s, u"乙"_s, u"2"_s, u"10"_s});
    click(dlg, "cmdSure");
    QCOMPARE(messages->lastText(), u"信息项名称不唯一，请重新输入..."_s);
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(14), u"2"_s); // no browser: the title row plus one
    QCOMPARE(list->topLevelItem(0)->text(13), u"HR_HI_FAMILY"_s);

    // Recall the first entry, correct it, write it back.
    const auto clickRow = [list](int i) {
        const QRect r = list->visualItemRect(list->topLevelItem(i));
        // On the name column, away from the check box.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(150, r.center().y()));
    };
    clickRow(0);
    QVERIFY(!code->isEnabled());
    QCOMPARE(code->text(), u"vA"_s);
    QCOMPARE(len->text(), u"20"_s);
    control<QLineEdit>(dlg, "txtItemName")->setText(u"甲改"_s);
    len->setText(u"30"_s);
    click(dlg, "cmdSure");
    QCOMPARE(list->topLevelItem(0)->text(1), u"甲改"_s);
    QCOMPARE(list->topLevelItem(0)->text(6), u"30"_s);
    QVERIFY(code->isEnabled());
    QVERIFY(code->text().isEmpty());

    // "取消" leaves a recalled entry alone.
    clickRow(1);
    QVERIFY(control<QPushButton>(dlg, "cmdAdd")->isEnabled());
    click(dlg, "cmdAdd");
    QVERIFY(code->isEnabled());
    QVERIFY(!control<QPushButton>(dlg, "cmdAdd")->isEnabled());
    QCOMPARE(list->topLevelItem(1)->text(1), u"乙"_s);

    // "删除" removes the checked entries only.
    list->topLevelItem(1)->setCheckState(0, Qt::Checked);
    click(dlg, "cmdDel");
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(0), u"vA"_s);
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    click(dlg, "cmdDel");
    QCOMPARE(list->topLevelItemCount(), 0);

    // Committing an empty list does nothing at all.
    const int shown = messages->shown.size();
    click(dlg, "cmdOk");
    QCOMPARE(messages->shown.size(), shown);
    QVERIFY(dlg->isVisible());
}

void TestItemDialogs::modifyRulesByTypeAndData()
{
    Session s;
    FakeConstructBrowser browser(2, 5);
    MessageScope messages;
    RecorderScope recorder(s.conn());

    frmModifyConstructItem *dlg = openModify(u"hr_hi_contract"_s, u"vContractNo"_s);
    auto *len = control<QLineEdit>(dlg, "txtNumLen");
    QVERIFY(len->isEnabled());
    QVERIFY(!control<QLineEdit>(dlg, "txtItemCode")->isEnabled());
    QCOMPARE(len->text(), u"30"_s);

    len->setText(u"20"_s);
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"字段长度不能小于 30\u3000请重新输入"_s);
    len->setText(u"40"_s);
    click(dlg, "cmdOk"); // the confirmation answered with its default, Cancel
    QCOMPARE(messages->lastText(), u"请确认修改！"_s);
    QVERIFY(recorder->executed().isEmpty());

    messages->answers = {MsgResult::Ok};
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"修改成功！"_s + voucherNote);
    QVERIFY(recorder->executed().contains(
        u"ALTER TABLE hr_hi_contract ALTER COLUMN vContractNo varchar(40)"_s));
    QCOMPARE(s.columnType(u"hr_hi_contract"_s, u"vContractNo"_s), u"varchar(40)"_s);
    QCOMPARE(s.text(u"select vContractNo from hr_hi_contract where vContractNo like 'HT2010%'"_s),
             u"HT2010-017"_s);
    QCOMPARE(s.text(u"select iItemLen from hr_sys_itemdict where citemcode='vContractNo'"_s),
             u"40"_s);
    QCOMPARE(browser.calls.filter(u"UpdateGrid"_s), QStringList{u"UpdateGrid 2"_s});
    QVERIFY(!dlg->isVisible());

    dlg = openModify(u"hr_hi_contract"_s, u"nProbationPay"_s);
    auto *dec = control<QLineEdit>(dlg, "txtDecLen");
    QVERIFY(dec->isEnabled());
    dec->setText(u"1"_s);
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"字段小数位长度不能小于 2\u3000请重新输入"_s);
    control<QLineEdit>(dlg, "txtNumLen")->setText(u"14"_s);
    dec->setText(u"3"_s);
    messages->answers = {MsgResult::Ok};
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"修改成功！"_s + voucherNote);
    QCOMPARE(s.columnType(u"hr_hi_contract"_s, u"nProbationPay"_s), u"numeric(14,3)"_s);
    QCOMPARE(
        s.db.scalar(u"select nProbationPay from hr_hi_contract where nProbationPay>0"_s).toDouble(),
        7200.0);

    // A reference whose column holds data keeps its reference; its width is fixed.
    dlg = openModify(u"hr_hi_person"_s, u"rSex"_s);
    QVERIFY(!control<QComboBox>(dlg, "cboRef")->isEnabled());
    QVERIFY(!control<QLineEdit>(dlg, "txtNumLen")->isEnabled());
    QCOMPARE(CodePart(control<QComboBox>(dlg, "cboType")->currentText()), u"9"_s);
    QCOMPARE(NamePart(control<QComboBox>(dlg, "cboRef")->currentText()), u"HR_CT001"_s);
    dlg->close();

    // Without data the reference may change.
    dlg = openModify(u"hr_hi_family"_s, u"rPolity"_s);
    QVERIFY(control<QComboBox>(dlg, "cboRef")->isEnabled());
    dlg->close();

    // A date item: only its dictionary row changes; a name used by another item is refused, a
    // change of letter case alone is not checked.
    recorder->clear();
    dlg = openModify(u"hr_hi_family"_s, u"dBirthDate"_s);
    QVERIFY(control<QComboBox>(dlg, "cboFormat")->isEnabled());
    QVERIFY(!control<QLineEdit>(dlg, "txtDefault")->isEnabled());
    auto *name = control<QLineEdit>(dlg, "txtItemName");
    name->setText(u"姓名"_s);
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"信息项名称不唯一，请重新输入..."_s);
    name->setText(u"出生年月"_s);
    messages->answers = {MsgResult::Ok};
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"修改成功！"_s);
    for (const QString &st : recorder->executed())
        QVERIFY2(!st.startsWith(u"ALTER"_s), qPrintable(st));
    QCOMPARE(s.text(u"select vItemName from hr_sys_itemdict where ctablecode='hr_hi_family' and "
                    "citemcode='dBirthDate'"_s),
             u"出生年月"_s);

    // An item that does not exist shows empty inputs and the required check stops the save.
    dlg = openModify(u"hr_hi_family"_s, u"nothing"_s);
    QVERIFY(control<QLineEdit>(dlg, "txtItemCode")->text().isEmpty());
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"类别编码不能为空，请输入..."_s);
}

void TestItemDialogs::failedStatementLeavesNothing()
{
    Session s;
    FakeConstructBrowser browser(2, 5);
    MessageScope messages;
    // A column that exists physically but not in the dictionary makes the add statement fail
    // after the dictionary rows were written.
    s.db.conn().Execute(u"ALTER TABLE hr_hi_family ADD vClash varchar(10) null"_s);

    frmAddConstructItem *dlg = openAdd(familyNode);
    enter(dlg, {u"vFirst"_s, u"第一"_s, u"2"_s, u"10"_s});
    click(dlg, "cmdSure");
    enter(dlg, {u"vClash"_s, u"冲突"_s, u"2"_s, u"10"_s});
    click(dlg, "cmdSure");
    RecorderScope recorder(s.conn());
    messages->answers = {MsgResult::Ok};
    click(dlg, "cmdOk");
    QCOMPARE(messages->lastText(), u"创建失败"_s);
    // Both dictionary rows were written before the add statement failed; all was rolled back.
    const auto &events = recorder->events;
    QCOMPARE(std::count_if(events.begin(),
                           events.end(),
                           [](const db::StatementEvent &e) {
                               return e.statement.startsWith(u"insert hr_sys_itemdict"_s)
                                      && !e.failed();
                           }),
             2);
    QVERIFY(events.at(events.size() - 2).statement.startsWith(u"ALTER TABLE HR_HI_FAMILY ADD"_s));
    QVERIFY(events.at(events.size() - 2).failed());
    QCOMPARE(events.last().kind, db::StatementEvent::Kind::Rollback);
    QVERIFY(dlg->isVisible());
    QCOMPARE(pending(dlg)->topLevelItemCount(), 2);
    QVERIFY(browser.calls.isEmpty());

    for (const char *rows : {"hr_sys_itemdict where citemcode", "Rpt_ItmDEF where FieldName"})
        QCOMPARE(s.text(u"select count(*) from %1 in ('vFirst','vClash')"_s.arg(
                     QLatin1StringView(rows))),
                 u"0"_s);
    QVERIFY(!s.db.columns(u"hr_hi_family"_s).contains(u"vfirst"_s));
}

void TestItemDialogs::loginFlagsAndAttendanceSets()
{
    {
        Session s(1, true);
        MessageScope messages;
        frmAddConstructItem *add = openAdd(familyNode);
        for (const char *name : {"cmdSure", "cmdAdd", "cmdDel", "cmdOk"})
            QVERIFY2(!control<QPushButton>(add, name)->isEnabled(), name);
        QVERIFY(control<QPushButton>(add, "cmdQuit")->isEnabled());
        QVERIFY(control<QCheckBox>(add, "chkDefine")->isHidden());
        QCOMPARE(control<QComboBox>(add, "cboType")->count(), 7);

        frmModifyConstructItem *modify = openModify(u"hr_hi_family"_s, u"vName"_s);
        QVERIFY(!control<QPushButton>(modify, "cmdOk")->isEnabled());
        QVERIFY(control<QCheckBox>(modify, "chkDefine")->isHidden());
    }
    Session s(0, false);
    MessageScope messages;
    frmAddConstructItem *add = openAdd(familyNode);
    QVERIFY(control<QPushButton>(add, "cmdOk")->isEnabled());
    QVERIFY(!control<QCheckBox>(add, "chkDefine")->isHidden());
    QCOMPARE(control<QComboBox>(add, "cboType")->count(), 9);
    add->close();

    // Attendance sets take no items.
    openAdd(u"CR5^hr_tm_shift^"_s);
    QCOMPARE(messages->lastText(), u"考勤类表不能添加信息项"_s);
    QCOMPARE(messages->shown.last().title, u"人事信息管理"_s);
    QVERIFY(!existingWindowInstance<frmAddConstructItem>()->isVisible());

    // Modal: the call returns when the dialog is closed.
    QTimer::singleShot(0, [] { existingWindowInstance<frmAddConstructItem>()->close(); });
    clsManagefrm().AddConstructItem(familyNode, 1, nullptr);
    QVERIFY(!existingWindowInstance<frmAddConstructItem>()->isVisible());
}

QTEST_MAIN(TestItemDialogs)
#include "tst_item_dialogs.moc"
