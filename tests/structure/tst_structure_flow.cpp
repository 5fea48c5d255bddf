#include "HostSession.h"
#include "ScriptedMessages.h"
#include "WindowControls.h"

#include "common/LauncherWindow.h"
#include "common/NodeTree.h"
#include "entry/clsShowForm.h"
#include "structure/frmAddConstructItem.h"
#include "structure/frmAddModifyConstruct.h"
#include "structure/frmConstructUI.h"
#include "structure/frmModifyConstructItem.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace vorlane;
using namespace vorlane::test;
using namespace Qt::StringLiterals;

namespace {

void type(QWidget *w, const char *name, const QString &text)
{
    control<QLineEdit>(w, name)->setText(text);
}

template<class Dialog>
void withDialog(const std::function<void()> &command, const std::function<void(Dialog *)> &act)
{
    withModalDialog<Dialog>(&existingWindowInstance<Dialog>, command, act);
}

QString nodeKeyOf(frmConstructUI *w, const QString &code)
{
    for (QTreeWidgetItem *node : w->Tree()->Nodes())
        if (NodeTree::Key(node).contains(u'^' + code + u'^', Qt::CaseInsensitive))
            return NodeTree::Key(node);
    return {};
}

void selectRowOf(frmConstructUI *w, const QString &itemCode)
{
    for (int r = 1; r < w->grid()->Rows(); ++r)
        if (w->grid()->TextMatrix(r, 2) == itemCode)
            w->grid()->setRow(r);
    w->setActiveControlOverride(BrowserFrame::ActiveControl::Grid);
}

} // namespace

// What an administrator does in `vorlane construct`: every dialog opened by the browser itself,
// through clsManagefrm, and every change seen in the database.
class TestStructureFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setAndItemsFromCreationToDeletion();
};

void TestStructureFlow::setAndItemsFromCreationToDeletion()
{
    HostSession s;
    MessageScope messages;
    messages->answers = QList<MsgResult>(20, MsgResult::Ok);
    s.form->ShowConstructUI(0, nullptr);
    frmConstructUI *w = existingWindowInstance<frmConstructUI>();
    QVERIFY(w && w->isVisible());
    const auto menu = [w](const char *button, const char *entry) {
        return [=] {
            w->Toolbar1_ButtonMenuClick(QString::fromLatin1(button), QString::fromLatin1(entry));
        };
    };

    // A new person set under the person group.
    QVERIFY(w->Tree()->selectKey(u"R1"_s));
    w->TreeClick();
    withDialog<frmAddModifyConstruct>(menu("Add", "ADDL"), [](frmAddModifyConstruct *d) {
        type(d, "txtCode", u"hr_hi_skill"_s);
        type(d, "txtName", u"技能证书"_s);
        control<QListWidget>(d, "lstFunc")->item(0)->setSelected(true);
        click(d, "cmdOk");
    });
    QCOMPARE(messages->lastText(), u"创建成功"_s);
    QVERIFY(s.db.tableExists(u"hr_hi_skill"_s));
    const QString setKey = nodeKeyOf(w, u"hr_hi_skill"_s);
    QVERIFY(!setKey.isEmpty());
    QCOMPARE(w->Tree()->Node(setKey)->text(0), u"技能证书"_s);
    QCOMPARE(w->Tree()->Node(setKey)->parent(), w->Tree()->Node(u"R1"_s));

    // Two items in one commit, then a longer text column.
    QVERIFY(w->Tree()->selectKey(setKey));
    w->TreeClick();
    withDialog<frmAddConstructItem>(menu("Add", "ADDX"), [](frmAddConstructItem *d) {
        for (const auto &[code, name, typeCode, len, dec] :
             {std::tuple{"cCertNo", "证书编号", "2", "20", ""},
              std::tuple{"nScore", "成绩", "4", "6", "1"}}) {
            auto *types = control<QComboBox>(d, "cboType");
            const int index
                = types->findText(QString::fromLatin1(typeCode) + u'-', Qt::MatchStartsWith);
            types->setCurrentIndex(index);
            Q_EMIT types->activated(index);
            type(d, "txtItemCode", QString::fromLatin1(code));
            type(d, "txtItemName", QString::fromUtf8(name));
            type(d, "txtNumLen", QString::fromLatin1(len));
            if (*dec)
                type(d, "txtDecLen", QString::fromLatin1(dec));
            click(d, "cmdSure");
        }
        click(d, "cmdOk");
    });
    QVERIFY2(messages->lastText().startsWith(u"增加成功！"_s), qPrintable(messages->lastText()));
    QVERIFY(s.db.columns(u"hr_hi_skill"_s).contains(u"ccertno"_s));
    QVERIFY(s.db.columns(u"hr_hi_skill"_s).contains(u"nscore"_s));

    selectRowOf(w, u"cCertNo"_s);
    withDialog<frmModifyConstructItem>(menu("Modify", "MODIFYX"), [](frmModifyConstructItem *d) {
        type(d, "txtNumLen", u"40"_s);
        click(d, "cmdOk");
    });
    QVERIFY2(messages->lastText().startsWith(u"修改成功！"_s), qPrintable(messages->lastText()));
    QCOMPARE(s.db.scalar(u"select iItemLen from hr_sys_itemdict where cTableCode='hr_hi_skill' "
                         "and cItemCode='cCertNo'"_s)
                 .toInt(),
             40);

    // The empty column goes, and its grid row; then the empty set and its table.
    selectRowOf(w, u"nScore"_s);
    const int rows = w->grid()->Rows();
    w->Toolbar1_ButtonMenuClick(u"Delete"_s, u"DELETEX"_s);
    QCOMPARE(messages->lastText(), u"删除成功"_s);
    QVERIFY(!s.db.columns(u"hr_hi_skill"_s).contains(u"nscore"_s));
    QCOMPARE(w->grid()->Rows(), rows - 1);

    w->setActiveControlOverride(BrowserFrame::ActiveControl::Tree);
    QVERIFY(w->Tree()->selectKey(setKey));
    w->TreeClick();
    w->Toolbar1_ButtonMenuClick(u"Delete"_s, u"DELETEL"_s);
    QCOMPARE(messages->lastText(), u"删除成功"_s);
    QVERIFY(!s.db.tableExists(u"hr_hi_skill"_s));
    QVERIFY(!s.db.scalar(u"select 1 from hr_sys_itemdict where ctablecode='hr_hi_skill' union "
                         "select 1 from hr_sys_setdict where ctablecode='hr_hi_skill'"_s)
                 .isValid());
    QVERIFY(nodeKeyOf(w, u"hr_hi_skill"_s).isEmpty());
    w->close();
}

QTEST_MAIN(TestStructureFlow)
#include "tst_structure_flow.moc"
