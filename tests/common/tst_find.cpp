#include "common/frmFind.h"

#include "ScriptedMessages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace vorlane::test {

using namespace Qt::StringLiterals;

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
    state.FindField = u"旧字段"_s;
    state.FindOperator = u"包含"_s;
    state.FindValue = u"旧值"_s;
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
        QTest::newRow("信息集") << u"信息集"_s << QStringList{u"信息集名称"_s, u"信息集代码"_s};
        QTest::newRow("档案类") << u"档案类"_s << QStringList{u"档案类名称"_s, u"档案类代码"_s};
    }

    void loadFillsTheLists()
    {
        QFETCH(QString, context);
        QFETCH(QStringList, fields);
        frmFind dialog;
        dialog.txtValue()->setText(u"left over"_s);
        dialog.setContext(context);
        QCOMPARE(items(dialog.cboField()), fields);
        QCOMPARE(dialog.cboField()->currentIndex(), 0);
        QCOMPARE(items(dialog.cboSign()).join(u' '), u"等于 不等于 包含 不包含"_s);
        QCOMPARE(dialog.cboSign()->currentIndex(), 0);
        QVERIFY(dialog.txtValue()->text().isEmpty());
    }

    void blankValueIsRefused_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("value");
        QTest::newRow("信息集, empty") << u"信息集"_s << QString();
        QTest::newRow("档案类, blanks") << u"档案类"_s << u" \t "_s;
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
        QCOMPARE(run.messages->lastText(), u"没有输入匹配值！"_s);
        QCOMPARE(run.messages->shown.last().title, u"操作提示"_s);
        QVERIFY(run.dialog.isVisible());
        QCOMPARE(run.requested.count(), 0);
        QCOMPARE(run.state.FindField, context == u"档案类" ? QString() : u"旧字段"_s);
    }

    void okHandsOverTheUntrimmedValue_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("sign");
        QTest::addColumn<QString>("expectedField");
        QTest::addColumn<QString>("expectedSign");
        QTest::newRow("信息集") << u"信息集"_s << 1 << 3 << u"信息集代码"_s << u"不包含"_s;
        QTest::newRow("档案类") << u"档案类"_s << 0 << 1 << u"档案类名称"_s << u"不等于"_s;
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
        run.dialog.txtValue()->setText(u"  HR_CT "_s);
        QTest::mouseClick(run.dialog.cmdOk(), Qt::LeftButton);

        QVERIFY(run.messages->shown.isEmpty());
        QVERIFY(!run.dialog.isVisible());
        QCOMPARE(run.dialog.result(), int(QDialog::Accepted));
        QCOMPARE((QStringList{run.state.FindField, run.state.FindOperator, run.state.FindValue}),
                 (QStringList{expectedField, expectedSign, u"  HR_CT "_s}));
        QCOMPARE(run.requested.count(), 1);
        QCOMPARE(run.requested.first(),
                 (QVariantList{expectedField, expectedSign, run.state.FindValue}));
    }

    void cancelLeavesTheFieldsAsLoaded_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<bool>("ctrlF4");
        QTest::addColumn<QString>("expectedValue");
        QTest::newRow("档案类, 取消") << u"档案类"_s << false << QString();
        QTest::newRow("信息集, Ctrl+F4") << u"信息集"_s << true << u"旧值"_s;
    }

    void cancelLeavesTheFieldsAsLoaded()
    {
        QFETCH(QString, context);
        QFETCH(bool, ctrlF4);
        QFETCH(QString, expectedValue);
        FindRun run(context);
        QVERIFY(QTest::qWaitForWindowExposed(&run.dialog));
        run.dialog.txtValue()->setText(u"新值"_s);
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
        QTest::newRow("equal ignores case") << u"hr_ct001"_s << u"等于"_s << u"HR_CT001"_s << true;
        QTest::newRow("not equal") << u"民族"_s << u"不等于"_s << u"性别"_s << true;
        QTest::newRow("contains is exact") << u"HR_CT"_s << u"包含"_s << u"ct"_s << false;
        QTest::newRow("contains ignoring case") << u"HR_CT"_s << u"包含*"_s << u"ct"_s << true;
        QTest::newRow("not contains ignoring case")
            << u"HR_CT"_s << u"不包含*"_s << u"ct"_s << false;
        QTest::newRow("not contains") << u"学历学位"_s << u"不包含"_s << u"职务"_s << true;
        QTest::newRow("unknown sign") << u"a"_s << u"大于"_s << u"a"_s << false;
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
};

int runFindTests(int argc, char **argv)
{
    TestFind test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vorlane::test

#include "tst_find.moc"
