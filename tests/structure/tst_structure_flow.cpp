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
#include <QTimer>

#include <functional>

using namespace vorlane;
using namespace vorlane::test;

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
    QVERIFY(w->Tree()->selectKey(QStringLiteral("R1")));
    w->TreeClick();
    withDialog<frmAddModifyConstruct>(menu("Add", "ADDL"), [](frmAddModifyConstruct *d) {
        type(d, "txtCode", QStringLiteral("hr_hi_skill"));
        type(d, "txtName", QStringLiteral("技能证书"));
        control<QListWidget>(d, "lstFunc")->item(0)->setSelected(true);
        click(d, "cmdOk");
    });
    QCOMPARE(messages->lastText(), QStringLiteral("创建成功"));
    QVERIFY(s.db.tableExists(QStringLiteral("hr_hi_skill")));
    const QString setKey = nodeKeyOf(w, QStringLiteral("hr_hi_skill"));
    QVERIFY(!setKey.isEmpty());
    QCOMPARE(w->Tree()->Node(setKey)->text(0), QStringLiteral("技能证书"));
    QCOMPARE(w->Tree()->Node(setKey)->parent(), w->Tree()->Node(QStringLiteral("R1")));

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
    QVERIFY2(messages->lastText().startsWith(QStringLiteral("增加成功！")),
             qPrintable(messages->lastText()));
    QVERIFY(s.db.columns(QStringLiteral("hr_hi_skill")).contains(QStringLiteral("ccertno")));
    QVERIFY(s.db.columns(QStringLiteral("hr_hi_skill")).contains(QStringLiteral("nscore")));

    selectRowOf(w, QStringLiteral("cCertNo"));
    withDialog<frmModifyConstructItem>(menu("Modify", "MODIFYX"), [](frmModifyConstructItem *d) {
        type(d, "txtNumLen", QStringLiteral("40"));
        click(d, "cmdOk");
    });
    QVERIFY2(messages->lastText().startsWith(QStringLiteral("修改成功！")),
             qPrintable(messages->lastText()));
    QCOMPARE(s.db.scalar(QStringLiteral("select iItemLen from hr_sys_itemdict where "
                                        "cTableCode='hr_hi_skill' and cItemCode='cCertNo'"))
                 .toInt(),
             40);

    // The empty column goes; then the empty set and its table.
    selectRowOf(w, QStringLiteral("nScore"));
    w->Toolbar1_ButtonMenuClick(QStringLiteral("Delete"), QStringLiteral("DELETEX"));
    QCOMPARE(messages->lastText(), QStringLiteral("删除成功"));
    QVERIFY(!s.db.columns(QStringLiteral("hr_hi_skill")).contains(QStringLiteral("nscore")));

    w->setActiveControlOverride(BrowserFrame::ActiveControl::Tree);
    QVERIFY(w->Tree()->selectKey(setKey));
    w->TreeClick();
    w->Toolbar1_ButtonMenuClick(QStringLiteral("Delete"), QStringLiteral("DELETEL"));
    QCOMPARE(messages->lastText(), QStringLiteral("删除成功"));
    QVERIFY(!s.db.tableExists(QStringLiteral("hr_hi_skill")));
    QVERIFY(!s.db.scalar(QStringLiteral("select 1 from hr_sys_itemdict where ctablecode="
                                        "'hr_hi_skill' union select 1 from hr_sys_setdict "
                                        "where ctablecode='hr_hi_skill'"))
                 .isValid());
    QVERIFY(nodeKeyOf(w, QStringLiteral("hr_hi_skill")).isEmpty());
    w->close();
}

QTEST_MAIN(TestStructureFlow)
#include "tst_structure_flow.moc"
