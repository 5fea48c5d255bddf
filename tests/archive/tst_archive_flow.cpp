#include "HostSession.h"
#include "ScriptedMessages.h"
#include "WindowControls.h"

#include "archive/frmAddModiArchiveItem.h"
#include "archive/frmAddModifyArchive.h"
#include "archive/frmArchiveUI.h"
#include "common/LauncherWindow.h"
#include "common/NodeTree.h"
#include "entry/clsShowForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace vorlane;
using namespace vorlane::test;
using namespace Qt::StringLiterals;

namespace {

template<class Dialog>
void withDialog(const std::function<void()> &command, const std::function<void(Dialog *)> &act)
{
    withModalDialog<Dialog>(&existingWindowInstance<Dialog>, command, act);
}

} // namespace

// What an administrator does in `vorlane archive`: a code table created, filled level by level
// and deleted again, every editor opened by the browser itself through clsManagefrm.
class TestArchiveFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void codeTableFromCreationToDeletion();
};

void TestArchiveFlow::codeTableFromCreationToDeletion()
{
    HostSession s;
    MessageScope messages;
    messages->answers = QList<MsgResult>(20, MsgResult::Ok);
    s.form->ShowArchiveUI(0, nullptr);
    frmArchiveUI *w = existingWindowInstance<frmArchiveUI>();
    QVERIFY(w && w->isVisible());
    const auto menu = [w](const char *button, const char *entry) {
        return [=] {
            w->Toolbar1_ButtonMenuClick(QString::fromLatin1(button), QString::fromLatin1(entry));
        };
    };

    // A multi-level class gets the next number and its table.
    withDialog<frmAddModifyArchive>(menu("Add", "ADDL"), [](frmAddModifyArchive *d) {
        QCOMPARE(control<QLineEdit>(d, "txtCode")->text(), u"007"_s);
        control<QLineEdit>(d, "txtName")->setText(u"证书类别"_s);
        control<QCheckBox>(d, "chkLevels")->setChecked(true);
        control<QPushButton>(d, "cmdOk")->click();
    });
    QVERIFY(s.db.tableExists(u"HR_CT007"_s));
    const QString classKey = u"RHR_CT007^1"_s;
    QCOMPARE(w->Tree()->Node(classKey)->text(0), u"证书类别(HR_CT007)"_s);

    // A top-level code and a child below it; the editor stays open for the next code.
    QVERIFY(w->Tree()->selectKey(classKey));
    w->ShowSelectedNode();
    withDialog<frmAddModiArchiveItem>(menu("Add", "ADDX"), [](frmAddModiArchiveItem *d) {
        control<QLineEdit>(d, "txtCode")->setText(u"01"_s);
        control<QLineEdit>(d, "txtName")->setText(u"职业资格"_s);
        control<QPushButton>(d, "cmdOk")->click();
        QVERIFY(d->isVisible());
    });
    QCOMPARE(messages->lastText(), u"添加成功"_s);
    const QString topKey = u"CHR_CT007^01^0"_s;
    QCOMPARE(w->Tree()->Node(topKey)->parent(), w->Tree()->Node(classKey));
    QVERIFY(w->Tree()->selectKey(topKey));
    w->ShowSelectedNode();
    withDialog<frmAddModiArchiveItem>(menu("Add", "ADDX"), [](frmAddModiArchiveItem *d) {
        control<QLineEdit>(d, "txtCode")->setText(u"0101"_s);
        control<QLineEdit>(d, "txtName")->setText(u"电工"_s);
        control<QPushButton>(d, "cmdOk")->click();
    });
    QCOMPARE(s.db.scalar(u"select bChildFlag from HR_CT007 where ccodeID='01'"_s).toInt(), 1);
    QCOMPARE(s.db.scalar(u"select cpCodeID from HR_CT007 where ccodeID='0101'"_s),
             QVariant(u"01"_s));

    // From the tree, the code of the grid's only row goes: on the class node the top-level code,
    // with its subtree. Then the class with its table.
    QVERIFY(w->Tree()->selectKey(classKey));
    w->ShowSelectedNode();
    w->setActiveControlOverride(BrowserFrame::ActiveControl::Tree);
    w->Toolbar1_ButtonMenuClick(u"Delete"_s, u"DELETEX"_s);
    QCOMPARE(messages->lastText(), u"删除成功！"_s);
    QCOMPARE(s.db.scalar(u"select count(*) from HR_CT007"_s).toInt(), 0);
    QVERIFY(!w->Tree()->Exists(topKey));
    w->Toolbar1_ButtonMenuClick(u"Delete"_s, u"DELETEL"_s);
    QVERIFY(!s.db.tableExists(u"HR_CT007"_s));
    QVERIFY(!s.db.scalar(u"select 1 from hr_sys_setdict where cTableCode='HR_CT007' union "
                         "select 1 from hr_sys_itemdict where cTableCode='HR_CT007'"_s)
                 .isValid());
    QVERIFY(!w->Tree()->Exists(classKey));
    w->close();
}

QTEST_MAIN(TestArchiveFlow)
#include "tst_archive_flow.moc"
