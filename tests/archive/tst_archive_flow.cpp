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
#include <QTimer>

#include <functional>

using namespace vorlane;
using namespace vorlane::test;

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
        QCOMPARE(control<QLineEdit>(d, "txtCode")->text(), QStringLiteral("007"));
        control<QLineEdit>(d, "txtName")->setText(QStringLiteral("证书类别"));
        control<QCheckBox>(d, "chkLevels")->setChecked(true);
        control<QPushButton>(d, "cmdOk")->click();
    });
    QVERIFY(s.db.tableExists(QStringLiteral("HR_CT007")));
    const QString classKey = QStringLiteral("RHR_CT007^1");
    QCOMPARE(w->Tree()->Node(classKey)->text(0), QStringLiteral("证书类别(HR_CT007)"));

    // A top-level code and a child below it; the editor stays open for the next code.
    QVERIFY(w->Tree()->selectKey(classKey));
    w->ShowSelectedNode();
    withDialog<frmAddModiArchiveItem>(menu("Add", "ADDX"), [](frmAddModiArchiveItem *d) {
        control<QLineEdit>(d, "txtCode")->setText(QStringLiteral("01"));
        control<QLineEdit>(d, "txtName")->setText(QStringLiteral("职业资格"));
        control<QPushButton>(d, "cmdOk")->click();
        QVERIFY(d->isVisible());
    });
    QCOMPARE(messages->lastText(), QStringLiteral("添加成功"));
    const QString topKey = QStringLiteral("CHR_CT007^01^0");
    QCOMPARE(w->Tree()->Node(topKey)->parent(), w->Tree()->Node(classKey));
    QVERIFY(w->Tree()->selectKey(topKey));
    w->ShowSelectedNode();
    withDialog<frmAddModiArchiveItem>(menu("Add", "ADDX"), [](frmAddModiArchiveItem *d) {
        control<QLineEdit>(d, "txtCode")->setText(QStringLiteral("0101"));
        control<QLineEdit>(d, "txtName")->setText(QStringLiteral("电工"));
        control<QPushButton>(d, "cmdOk")->click();
    });
    QCOMPARE(
        s.db.scalar(QStringLiteral("select bChildFlag from HR_CT007 where ccodeID='01'")).toInt(),
        1);
    QCOMPARE(s.db.scalar(QStringLiteral("select cpCodeID from HR_CT007 where ccodeID='0101'")),
             QVariant(QStringLiteral("01")));

    // From the tree, the code of the grid's only row goes: on the class node the top-level code,
    // with its subtree. Then the class with its table.
    QVERIFY(w->Tree()->selectKey(classKey));
    w->ShowSelectedNode();
    w->setActiveControlOverride(BrowserFrame::ActiveControl::Tree);
    w->Toolbar1_ButtonMenuClick(QStringLiteral("Delete"), QStringLiteral("DELETEX"));
    QCOMPARE(messages->lastText(), QStringLiteral("删除成功！"));
    QCOMPARE(s.db.scalar(QStringLiteral("select count(*) from HR_CT007")).toInt(), 0);
    QVERIFY(!w->Tree()->Exists(topKey));
    w->Toolbar1_ButtonMenuClick(QStringLiteral("Delete"), QStringLiteral("DELETEL"));
    QVERIFY(!s.db.tableExists(QStringLiteral("HR_CT007")));
    QVERIFY(!s.db.scalar(QStringLiteral("select 1 from hr_sys_setdict where cTableCode='HR_CT007' "
                                        "union select 1 from hr_sys_itemdict where "
                                        "cTableCode='HR_CT007'"))
                 .isValid());
    QVERIFY(!w->Tree()->Exists(classKey));
    w->close();
}

QTEST_MAIN(TestArchiveFlow)
#include "tst_archive_flow.moc"
