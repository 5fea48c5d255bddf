#include "common/frmFind.h"

#include "ScriptedMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace vorlane::test {

namespace {

QStringList items(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

FindState filledState()
{
    FindState state;
    state.FindField = QStringLiteral("旧字段");
    state.FindOperator = QStringLiteral("包含");
    state.FindValue = QStringLiteral("旧值");
    return state;
}

// A find dialog on a filled find state, shown for the context.
struct FindRun
{
    explicit FindRun(const QString &context)
    {
        dialog.setFindState(&state);
        dialog.setContext(context);
        dialog.show();
    }
    MessageScope messages;
    FindState state = filledState();
    frmFind dialog;
    QSignalSpy requested{&dialog, &frmFind::findRequested};
};

} // namespace

class TestFind : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadFillsTheLists_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("信息集") << QStringLiteral(
            "信息集") << QStringList{QStringLiteral("信息集名称"), QStringLiteral("信息集代码")};
        QTest::newRow("档案类") << QStringLiteral(
            "档案类") << QStringList{QStringLiteral("档案类名称"), QStringLiteral("档案类代码")};
        QTest::newRow("other") << QStringLiteral("人员") << QStringList{};
    }

    void loadFillsTheLists()
    {
        QFETCH(QString, context);
        QFETCH(QStringList, fields);
        frmFind dialog;
        dialog.txtValue()->setText(QStringLiteral("left over"));
        dialog.setContext(context);
        QCOMPARE(items(dialog.cboField()), fields);
        QCOMPARE(dialog.cboField()->currentIndex(), fields.isEmpty() ? -1 : 0);
        QCOMPARE(items(dialog.cboSign()).join(u' '), QStringLiteral("等于 不等于 包含 不包含"));
        QCOMPARE(dialog.cboSign()->currentIndex(), 0);
        QVERIFY(dialog.txtValue()->text().isEmpty());
    }

    void blankValueIsRefused_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("value");
        QTest::newRow("信息集, empty") << QStringLiteral("信息集") << QString();
        QTest::newRow("档案类, blanks") << QStringLiteral("档案类") << QStringLiteral(" \t ");
    }

    void blankValueIsRefused()
    {
        QFETCH(QString, context);
        QFETCH(QString, value);
        FindRun run(context);
        QVERIFY(QTest::qWaitForWindowExposed(&run.dialog));
        run.dialog.txtValue()->setText(value);
        QTest::mouseClick(run.dialog.cmdOk(), Qt::LeftButton);

        QCOMPARE(run.messages->shown.size(), 1);
        QCOMPARE(run.messages->lastText(), QStringLiteral("没有输入匹配值！"));
        QCOMPARE(run.messages->shown.last().title, QStringLiteral("操作提示"));
        QVERIFY(run.dialog.isVisible());
        QCOMPARE(run.requested.count(), 0);
        QCOMPARE(run.state.FindField, context == u"档案类" ? QString() : QStringLiteral("旧字段"));
    }

    void okHandsOverTheUntrimmedValue_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("sign");
        QTest::addColumn<QString>("expectedField");
        QTest::addColumn<QString>("expectedSign");
        QTest::newRow("信息集") << QStringLiteral("信息集") << 1 << 3
                                << QStringLiteral("信息集代码") << QStringLiteral("不包含");
        QTest::newRow("档案类") << QStringLiteral("档案类") << 0 << 1
                                << QStringLiteral("档案类名称") << QStringLiteral("不等于");
    }

    void okHandsOverTheUntrimmedValue()
    {
        QFETCH(QString, context);
        QFETCH(int, field);
        QFETCH(int, sign);
        QFETCH(QString, expectedField);
        QFETCH(QString, expectedSign);
        FindRun run(context);
        QVERIFY(QTest::qWaitForWindowExposed(&run.dialog));
        run.dialog.cboField()->setCurrentIndex(field);
        run.dialog.cboSign()->setCurrentIndex(sign);
        run.dialog.txtValue()->setText(QStringLiteral("  HR_CT "));
        QTest::mouseClick(run.dialog.cmdOk(), Qt::LeftButton);

        QVERIFY(run.messages->shown.isEmpty());
        QVERIFY(!run.dialog.isVisible());
        QCOMPARE(run.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(run.state.FindField, expectedField);
        QCOMPARE(run.state.FindOperator, expectedSign);
        QCOMPARE(run.state.FindValue, QStringLiteral("  HR_CT "));
        QCOMPARE(run.requested.count(), 1);
        QCOMPARE(run.requested.first(),
                 (QVariantList{expectedField, expectedSign, run.state.FindValue}));
    }

    void otherContextSetsNothing()
    {
        FindRun run(QStringLiteral("部门"));
        run.dialog.txtValue()->setText(QStringLiteral("x"));
        QTest::mouseClick(run.dialog.cmdOk(), Qt::LeftButton);
        QVERIFY(!run.dialog.isVisible());
        QCOMPARE(run.requested.count(), 0);
        QCOMPARE(run.state.FindField, QStringLiteral("旧字段"));
        QCOMPARE(run.state.FindValue, QStringLiteral("旧值"));
    }

    void cancelLeavesTheFieldsAsLoaded_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<bool>("ctrlF4");
        QTest::addColumn<QString>("expectedValue");
        QTest::newRow("档案类, 取消") << QStringLiteral("档案类") << false << QString();
        QTest::newRow("信息集, Ctrl+F4")
            << QStringLiteral("信息集") << true << QStringLiteral("旧值");
    }

    void cancelLeavesTheFieldsAsLoaded()
    {
        QFETCH(QString, context);
        QFETCH(bool, ctrlF4);
        QFETCH(QString, expectedValue);
        FindRun run(context);
        QVERIFY(QTest::qWaitForWindowExposed(&run.dialog));
        run.dialog.txtValue()->setText(QStringLiteral("新值"));
        if (ctrlF4)
            QTest::keyClick(&run.dialog, Qt::Key_F4, Qt::ControlModifier);
        else
            QTest::mouseClick(run.dialog.cmdExit(), Qt::LeftButton);
        QVERIFY(!run.dialog.isVisible());
        QCOMPARE(run.dialog.result(), int(QDialog::Rejected));
        QCOMPARE(run.state.FindValue, expectedValue);
        QVERIFY(run.messages->shown.isEmpty());
    }

    void comparisons_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sign");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("matches");
        QTest::newRow("equal ignores case") << QStringLiteral("hr_ct001") << QStringLiteral("等于")
                                            << QStringLiteral("HR_CT001") << true;
        QTest::newRow("not equal")
            << QStringLiteral("民族") << QStringLiteral("不等于") << QStringLiteral("性别") << true;
        QTest::newRow("contains is exact")
            << QStringLiteral("HR_CT") << QStringLiteral("包含") << QStringLiteral("ct") << false;
        QTest::newRow("contains ignoring case")
            << QStringLiteral("HR_CT") << QStringLiteral("包含*") << QStringLiteral("ct") << true;
        QTest::newRow("not contains ignoring case")
            << QStringLiteral("HR_CT") << QStringLiteral("不包含*") << QStringLiteral("ct")
            << false;
        QTest::newRow("not contains") << QStringLiteral("学历学位") << QStringLiteral("不包含")
                                      << QStringLiteral("职务") << true;
        QTest::newRow("unknown sign")
            << QStringLiteral("a") << QStringLiteral("大于") << QStringLiteral("a") << false;
    }

    void comparisons()
    {
        QFETCH(QString, text);
        QFETCH(QString, sign);
        QFETCH(QString, value);
        QFETCH(bool, matches);
        // A trailing "*" in the row name asks for the comparison that ignores letter case.
        const bool ignoreCase = sign.endsWith(u'*');
        if (ignoreCase)
            sign.chop(1);
        QCOMPARE(
            FindMatches(text, sign, value, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive),
            matches);
    }

    void runHandsOverInOneCall_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("expectedValue");
        QTest::newRow("档案类, cancelled") << QStringLiteral("档案类") << false << QString();
        QTest::newRow("信息集, confirmed")
            << QStringLiteral("信息集") << true << QStringLiteral("HR");
    }

    void runHandsOverInOneCall()
    {
        QFETCH(QString, context);
        QFETCH(bool, confirm);
        QFETCH(QString, expectedValue);
        MessageScope messages;
        FindState state = filledState();
        QTimer::singleShot(0, [confirm] {
            auto *dialog = qobject_cast<frmFind *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->txtValue()->setText(QStringLiteral("HR"));
            (confirm ? dialog->cmdOk() : dialog->cmdExit())->click();
        });
        QCOMPARE(frmFind::run(nullptr, context, state), confirm);
        QCOMPARE(state.FindValue, expectedValue);
    }
};

int runFindTests(int argc, char **argv)
{
    TestFind test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vorlane::test

#include "tst_find.moc"
