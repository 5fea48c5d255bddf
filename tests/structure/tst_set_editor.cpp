#include "FakeConstructBrowser.h"
#include "HostSession.h"
#include "RecordedStatements.h"
#include "ScriptedMessages.h"
#include "WindowControls.h"

#include "common/LauncherWindow.h"
#include "entry/Defs.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsManagefrm.h"
#include "structure/ConstructBrowser.h"
#include "structure/frmAddModifyConstruct.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <optional>

using namespace vorlane;
using namespace Qt::StringLiterals;
using test::MessageScope;
using test::RecorderScope;
using test::TestDatabase;

namespace {

using FakeBrowser = test::FakeConstructBrowser;

template<class W>
W *control(const char *name)
{
    return test::control<W>(existingWindowInstance<frmAddModifyConstruct>(), name);
}

QLineEdit *box(const char *name)
{
    return control<QLineEdit>(name);
}

void clickOk()
{
    QTest::mouseClick(control<QPushButton>("cmdOk"), Qt::LeftButton);
}

// The add dialog on group R1 with valid input; the caller spoils one part of it.
void openAddWithValidInput(const QString &nodeKey = u"R1"_s)
{
    clsManagefrm().AddConstruct(nodeKey, 0, nullptr);
    QTest::keyClicks(box("txtCode"), u"hr_test"_s);
    box("txtName")->setText(u"测试信息"_s);
    control<QListWidget>("lstFunc")->item(0)->setSelected(true);
}

QStringList texts(TestDatabase &db, const QString &sql)
{
    QStringList out;
    for (auto rs = db.conn().OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs->FieldCount(); ++i)
            fields << rs->FieldValue(i).toString();
        out << fields.join(u'|');
    }
    return out;
}

} // namespace

class TestSetEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void addPersonSet();
    void inputChecks_data();
    void inputChecks();
    void leavingCodeBoxAndLaunchers();
    void failedAddLeavesNothing();
    void modifySet();
    void openingState_data();
    void openingState();

private:
    std::optional<test::HostSession> m_session;
    TestDatabase *m_db = nullptr;
};

void TestSetEditor::init()
{
    m_session.emplace();
    m_db = &m_session->db;
}

void TestSetEditor::cleanup()
{
    if (auto *w = existingWindowInstance<frmAddModifyConstruct>())
        w->close();
    m_session.reset();
}

void TestSetEditor::addPersonSet()
{
    FakeBrowser browser;
    MessageScope messages;
    RecorderScope recorded(Defs::instance().conn());
    clsManagefrm().AddConstruct(u"R1"_s, 0, nullptr);
    auto *w = existingWindowInstance<frmAddModifyConstruct>();
    QVERIFY(box("txtPtable")->isHidden() && !control<QComboBox>("cboCycle")->isEnabled());
    // No attendance start date: function 128 is not offered.
    QCOMPARE(control<QListWidget>("lstFunc")->count(), 7);

    // Typed and pasted text lose what the code and digit filters swallow.
    QTest::keyClicks(box("txtCode"), u"hr_psn-x"_s);
    box("txtCode")->insert(u"'; drop"_s);
    QCOMPARE(box("txtCode")->text(), u"hr_psnxdrop"_s);
    box("txtShowOrder")->insert(u"1a2"_s);
    QCOMPARE(box("txtShowOrder")->text(), u"12"_s);
    box("txtShowOrder")->clear();
    box("txtName")->setText(u" 人员奖惩 "_s);
    control<QListWidget>("lstFunc")->item(0)->setSelected(true);
    control<QListWidget>("lstFunc")->item(2)->setSelected(true);
    recorded->clear();
    clickOk();

    QCOMPARE(messages->shown.size(), 1);
    QCOMPARE(messages->lastText(), u"创建成功"_s);
    QVERIFY(!w->isVisible());
    QCOMPARE(browser.calls.join(u'|'),
             u"Append R1 CR1^hr_psnxdrop^HR_HI_PERSON 人员奖惩 1|TreeClick"_s);

    // Dictionary and catalogue rows; no show order given, so the browser's grid row count.
    QCOMPARE(texts(*m_db,
                   u"select vTableName, iTableGroup, iTableClass, iTableType, iBusinessFlag, "
                   "iFunctionScope, bsysFlag, vParentTable, ishowOrder, vMainKey, Tabletype, "
                   "iAuthType from hr_sys_setdict join Rpt_GRPDEF on Tablename=cTableCode "
                   "join AA_BusObject on cBusObId=cTableCode where cTableCode='hr_psnxdrop'"_s),
             QStringList(u"人员奖惩|1|1|1|4|5|true|HR_HI_PERSON|7|PK_hr_psnxdrop|1|1"_s));

    // The person-type table with its items (their statements are the services' own), every
    // write inside the one transaction.
    QCOMPARE(m_db->columns(u"hr_psnxdrop"_s).size(), 6);
    QCOMPARE(texts(*m_db, u"select count(*) from hr_sys_itemdict where cTableCode='hr_psnxdrop'"_s),
             QStringList(u"6"_s));
    for (const db::StatementEvent &e : recorded->events)
        QVERIFY(e.kind != db::StatementEvent::Kind::Execute || e.inTransaction);
}

void TestSetEditor::inputChecks_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const auto row
        = [](const char *tag,
             const QString &box,
             const QString &text,
             const QString &message,
             const QString &focus) { QTest::newRow(tag) << box << text << message << focus; };
    const QString code = u"txtCode"_s, name = u"txtName"_s, tooLong = u"输入内容太长，请重新输入"_s;
    // In the order of the checks; the first two spoil two boxes to show which check comes first.
    row("first char", code, u"1hr_a"_s, u"应用表代码的第一个字符为非法字符！"_s, code);
    row("illegal name", name, u"人事、信息"_s, u"含有非法字符，请重新输入！"_s, name);
    row("code 21 chars", code, u"hr_abcdefghijklmnopqr"_s, u"信息集代码太长，请重新输入"_s, code);
    row("code blank", code, {}, u"信息集代码不能为空，请输入..."_s, code);
    row("name blank", name, u" "_s, u"信息集名称不能为空，请输入..."_s, name);
    row("name 32 bytes", name, QString(16, u'名'), tooLong, name);
    row("name taken", name, u"人员基本信息"_s, u"信息集名称不唯一，请重新输入..."_s, name);
    row("prefix", code, u"hrx_a"_s, u"信息集代码必须以‘hr_’打头，请重新输入..."_s, code);
    row("code taken", code, u"HR_HI_PERSON"_s, u"信息集代码不唯一，请重新输入..."_s, code);
    row("no function", u"lstFunc"_s, {}, u"请选择适用功能项！"_s, {});
}

void TestSetEditor::inputChecks()
{
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    MessageScope messages;
    RecorderScope recorded(Defs::instance().conn());
    openAddWithValidInput();
    auto *w = existingWindowInstance<frmAddModifyConstruct>();
    if (boxName == u"lstFunc")
        control<QListWidget>("lstFunc")->clearSelection();
    else
        box(boxName.toLatin1().constData())->setText(text);
    if (QTest::currentDataTag() == QByteArray("first char"))
        box("txtName")->setText(u"人事、信息"_s);
    if (QTest::currentDataTag() == QByteArray("code 21 chars"))
        box("txtName")->setText(QString());
    recorded->clear();
    control<QPushButton>("cmdOk")->setFocus();
    clickOk();

    QCOMPARE(messages->shown.size(), 1);
    QCOMPARE(messages->lastText(), message);
    QCOMPARE(w->focusWidget() ? w->focusWidget()->objectName() : QString(),
             focus.isEmpty() ? u"cmdOk"_s : focus);
    // Nothing written, the dialog open with its input.
    QVERIFY(recorded->executed().isEmpty());
    QVERIFY(w->isVisible());
    if (boxName != u"lstFunc")
        QCOMPARE(box(boxName.toLatin1().constData())->text(), text);
}

void TestSetEditor::leavingCodeBoxAndLaunchers()
{
    MessageScope messages;
    clsManagefrm().AddConstruct(u"R1"_s, 0, nullptr);
    auto *w = existingWindowInstance<frmAddModifyConstruct>();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    box("txtCode")->setFocus();
    QTest::keyClicks(box("txtCode"), u"_hr"_s);
    QTest::keyClick(box("txtCode"), Qt::Key_Tab);
    QTRY_COMPARE(messages->lastText(), u"应用表代码的第一个字符为非法字符！"_s);
    QCOMPARE(QApplication::focusWidget(), box("txtCode"));

    // A code that is no identifier never runs, whatever hands it to the actions.
    RecorderScope recorded(Defs::instance().conn());
    SetEditorActions actions;
    actions.EditMode = u"A"_s;
    actions.setNodeKey(u"R1"_s);
    SetEditorInput in;
    in.code = u"hr_x'--"_s;
    in.name = u"测试"_s;
    in.selectedFunctions = {u"1-人员档案"_s};
    const SetEditResult r = actions.add(in);
    QCOMPARE(r.message, u"含有非法字符，请重新输入！"_s);
    QVERIFY(!r.ok && r.focus == SetField::Code);
    QVERIFY(!recorded->statements().join(u'\n').contains(u"hr_x"_s));
    w->close();
    messages->shown.clear();

    // Attendance sets are not added here.
    clsManagefrm().AddConstruct(u"r5"_s, 1, nullptr);
    QCOMPARE(messages->shown.size(), 1);
    QCOMPARE(messages->lastText(), u"不能添加考勤类表"_s);
    w = existingWindowInstance<frmAddModifyConstruct>();
    QVERIFY(!w || !w->isVisible());
}

void TestSetEditor::failedAddLeavesNothing()
{
    // A table of that name with data and a left-over item row: the table is replaced, then the
    // key item collides, and everything, the table's replacement included, goes back.
    db::Connection &setup = m_db->conn();
    setup.Execute(u"create table hr_orphan (x int)"_s);
    setup.Execute(u"insert into hr_orphan (x) values (42)"_s);
    setup.Execute(u"insert hr_sys_itemdict (cTableCode, cItemCode, vItemName) "
                  "values ('hr_orphan', 'PK_hr_orphan', '遗留')"_s);
    FakeBrowser browser;
    MessageScope messages;
    RecorderScope recorded(Defs::instance().conn());
    clsManagefrm().AddConstruct(u"R9"_s, 0, nullptr);
    QTest::keyClicks(box("txtCode"), u"hr_orphan"_s);
    box("txtName")->setText(u"孤立表"_s);
    control<QListWidget>("lstFunc")->item(1)->setSelected(true);
    clickOk();

    QCOMPARE(messages->lastText(), u"创建失败"_s);
    QVERIFY(recorded->executed().join(u'\n').contains(u"CREATE TABLE hr_orphan"_s));
    QCOMPARE(recorded->events.last().kind, db::StatementEvent::Kind::Rollback);
    QVERIFY(existingWindowInstance<frmAddModifyConstruct>()->isVisible());
    QCOMPARE(box("txtCode")->text(), u"hr_orphan"_s);
    QCOMPARE(box("txtName")->text(), u"孤立表"_s);
    QVERIFY(browser.calls.isEmpty());
    QCOMPARE(texts(*m_db,
                   u"select cTableCode from hr_sys_setdict where cTableCode='hr_orphan' union "
                   "all select Tablename from Rpt_GRPDEF where Tablename='hr_orphan' union "
                   "all select cBusObId from AA_BusObject where cBusObId='hr_orphan'"_s),
             QStringList());
    QCOMPARE(m_db->columns(u"hr_orphan"_s), QStringList(u"x"_s));
    QCOMPARE(m_db->scalar(u"select x from hr_orphan"_s).toInt(), 42);
    QCOMPARE(texts(*m_db, u"select cItemCode from hr_sys_itemdict where cTableCode='hr_orphan'"_s),
             QStringList(u"PK_hr_orphan"_s));
}

void TestSetEditor::modifySet()
{
    FakeBrowser browser;
    browser.nodes << u"CR1^HR_HI_FAMILY^HR_HI_PERSON"_s;
    MessageScope messages;
    // The same instance serves an add and then a modify, its state set again.
    clsManagefrm().AddConstruct(u"R1"_s, 0, nullptr);
    auto *w = existingWindowInstance<frmAddModifyConstruct>();
    w->close();
    clsManagefrm().ModifyConstruct(u"hr_hi_family"_s, u"R1"_s, u"1"_s, 0, nullptr);
    QCOMPARE(existingWindowInstance<frmAddModifyConstruct>(), w);
    QVERIFY(!box("txtCode")->isEnabled() && !control<QComboBox>("cboTableClass")->isEnabled());
    QCOMPARE(box("txtCode")->text() + box("txtName")->text(), u"hr_hi_family家庭成员"_s);
    QCOMPARE(control<QComboBox>("cboType")->currentText(), u"2-多当前记录表"_s);
    QCOMPARE(control<QComboBox>("cboTableClass")->currentText(), u"1-业务信息集"_s);
    QCOMPARE(control<QListWidget>("lstFunc")->selectedItems().size(), 1);
    QVERIFY(control<QListWidget>("lstFunc")->item(0)->isSelected());

    // Another set's name is refused before any question.
    box("txtName")->setText(u"教育经历"_s);
    clickOk();
    QCOMPARE(messages->lastText(), u"信息集名称不唯一，请重新输入..."_s);

    // Cancel at the question writes nothing; OK saves.
    box("txtName")->setText(u"家庭关系"_s);
    control<QListWidget>("lstFunc")->item(1)->setSelected(true);
    messages->answers = {MsgResult::Cancel, MsgResult::Ok};
    clickOk();
    QCOMPARE(messages->lastText(), u"修改确认！"_s);
    QCOMPARE(messages->shown.last().buttons, MsgButtons::OkCancel);
    QCOMPARE(messages->shown.last().defaultButton, MsgResult::Cancel);
    QCOMPARE(
        texts(*m_db, u"select vTableName from hr_sys_setdict where cTableCode='hr_hi_family'"_s),
        QStringList(u"家庭成员"_s));
    QVERIFY(w->isVisible());
    clickOk();

    QCOMPARE(messages->lastText(), u"修改成功"_s);
    QVERIFY(!w->isVisible());
    QCOMPARE(browser.calls.join(u'|'),
             u"Tag CR1^HR_HI_FAMILY^HR_HI_PERSON 1|Text CR1^HR_HI_FAMILY^HR_HI_PERSON 家庭关系|"
             "UpdateGrid 4"_s);
    QCOMPARE(texts(*m_db,
                   u"select vTableName, iFunctionScope, iTableType, ishowOrder, Tabledefine, "
                   "cBusObName from hr_sys_setdict join Rpt_GRPDEF on Tablename=cTableCode "
                   "join AA_BusObject on cBusObId=cTableCode where cTableCode='hr_hi_family'"_s),
             QStringList(u"家庭关系|3|2|4|家庭关系|家庭关系"_s));
}

void TestSetEditor::openingState_data()
{
    QTest::addColumn<QString>("launch"); // "A" node key, or "M" node key table code system flag
    QTest::addColumn<int>("optFlag");
    QTest::addColumn<bool>("hmjz");
    QTest::addColumn<QString>("classes");
    QTest::addColumn<QString>("state");

    QTest::newRow("person") << u"A R1"_s << 0 << false << u"1,2,3,5,6"_s << u"save chkSys type"_s;
    QTest::newRow("other") << u"A R9"_s << 0 << false << u"1,5,9"_s << u"save chkSys type"_s;
    QTest::newRow("OptFlag 1") << u"A R9"_s << 1 << false << u"1"_s << u"save type"_s;
    QTest::newRow("add carried forward")
        << u"A R1"_s << 0 << true << u"1,2,3,5,6"_s << u"chkSys type"_s;
    QTest::newRow("modify OptFlag 1")
        << u"M R1 hr_hi_family 1"_s << 1 << false << u"1,2,3,5,6,9"_s << u"save type"_s;
    QTest::newRow("modify carried forward")
        << u"M R1 hr_hi_family 1"_s << 0 << true << u"1,2,3,5,6,9"_s << u"chkSys type"_s;
    QTest::newRow("system set") << u"M R1 hr_hi_person 0"_s << 0 << false << u"1,2,3,5,6,9"_s
                                << u"note chkSys"_s;
}

void TestSetEditor::openingState()
{
    QFETCH(QString, launch);
    QFETCH(int, optFlag);
    QFETCH(bool, hmjz);
    QFETCH(QString, classes);
    QFETCH(QString, state);

    clsLoginMsg login;
    login.setOptFlag(qint16(optFlag));
    login.setHMJZ(hmjz);
    const QStringList a = launch.split(u' ');
    if (a[0] == u"A")
        clsManagefrm().AddConstruct(a[1], 0, nullptr);
    else
        clsManagefrm().ModifyConstruct(a[2], a[1], a[3], 0, nullptr);

    auto *cbo = control<QComboBox>("cboTableClass");
    QStringList codes;
    for (int i = 0; i < cbo->count(); ++i)
        codes << cbo->itemText(i).section(u'-', 0, 0);
    QCOMPARE(codes.join(u','), classes);
    QStringList shown;
    if (control<QPushButton>("cmdOk")->isEnabled())
        shown << u"save"_s;
    if (!control<QLabel>("lblNote")->isHidden())
        shown << u"note"_s;
    if (!control<QCheckBox>("chkSys")->isHidden())
        shown << u"chkSys"_s;
    if (control<QComboBox>("cboType")->isEnabled())
        shown << u"type"_s;
    QCOMPARE(shown.join(u' '), state);
    // With OptFlag 1 any other class snaps back to class 1.
    cbo->setCurrentIndex(cbo->count() - 1);
    QCOMPARE(cbo->currentText().startsWith(u"1-"_s), optFlag == 1);
}

QTEST_MAIN(TestSetEditor)
#include "tst_set_editor.moc"
