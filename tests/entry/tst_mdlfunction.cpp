#include "FakeLogin.h"
#include "ScriptedMessages.h"
#include "TestDatabase.h"

#include "entry/Defs.h"
#include "entry/clsLoginMsg.h"
#include "entry/mdlFunction.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::FakeLogin;
using vorlane::test::FakeZWPub;
using vorlane::test::MessageScope;
using vorlane::test::TestDatabase;

class TestMdlFunction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void keyFilters_data();
    void keyFilters();
    void keyCodesAndTexts();
    void textFunctions_data();
    void textFunctions();
    void findComboIndex_data();
    void findComboIndex();
    void statusBarTexts();
    void checkFunctionRight_data();
    void checkFunctionRight();
    void hasTMFirstDate_data();
    void hasTMFirstDate();

private:
    std::shared_ptr<FakeLogin> m_login;
    std::shared_ptr<FakeZWPub> m_zwpub;
};

void TestMdlFunction::init()
{
    Defs::instance().reset();
    m_login = std::make_shared<FakeLogin>();
    m_zwpub = std::make_shared<FakeZWPub>();
    m_zwpub->names.insert(u"HM01010101"_s, u"新增信息集"_s);
    clsLoginMsg msg;
    msg.setCLogin(m_login);
    msg.setZWPub(m_zwpub);
}

void TestMdlFunction::cleanup()
{
    Defs::instance().reset();
}

void TestMdlFunction::keyFilters_data()
{
    QTest::addColumn<QString>("rule"); // "code", or the numeric rule with the extras it allows
    QTest::addColumn<QChar>("c");
    QTest::addColumn<bool>("kept");

    QTest::newRow("digit") << u"plain"_s << QChar(u'0') << true;
    QTest::newRow("colon above 9") << u".-"_s << QChar(u':') << false;
    QTest::newRow("point allowed") << u"."_s << QChar(u'.') << true;
    QTest::newRow("point refused") << u"-"_s << QChar(u'.') << false;
    QTest::newRow("minus allowed") << u"-"_s << QChar(u'-') << true;
    QTest::newRow("control code 31") << u"plain"_s << QChar(31) << true;
    QTest::newRow("full-width digit") << u".-"_s << QChar(u'１') << false;
    for (char c : {'A', 'z', '_', '9', '@', '[', '`', '{', '-'})
        QTest::addRow("code %c", c)
            << u"code"_s << QChar(c) << (c == '_' || QChar(c).isLetterOrNumber());
    QTest::newRow("code backspace") << u"code"_s << QChar(8) << true;
    QTest::newRow("code double-byte") << u"code"_s << QChar(u'码') << false;
}

void TestMdlFunction::keyFilters()
{
    QFETCH(QString, rule);
    QFETCH(QChar, c);
    QFETCH(bool, kept);
    const bool code = rule == u"code", point = rule.contains(u'.'), minus = rule.contains(u'-');
    const qint16 key = AnsiKeyCode(c);
    qint16 k = key;
    code ? FilterCodeKey(k) : FilterNumericKey(k, point, minus);
    QCOMPARE(k, kept ? key : qint16(0));
    // The character rules agree, except that control keys pass the filters but are no text.
    if (c.unicode() >= 32)
        QCOMPARE(code ? IsCodeChar(c) : IsNumericChar(c, point, minus), kept);
}

void TestMdlFunction::keyCodesAndTexts()
{
    // Lead byte 0xC8, trail byte 0xCB in code page 936: double-byte keys arrive negative.
    QCOMPARE(AnsiKeyCode(u'人'), qint16(quint16(0xC8CB)));
    QVERIFY(IsNumericText(u"-12.5"_s, true, true));
    QVERIFY(!IsNumericText(u"12.5"_s, false, true));
    QVERIFY(!IsNumericText(u"12 5"_s, true, true));
    QVERIFY(IsCodeText(u"HR_set01"_s));
    QVERIFY(!IsCodeText(u"人事01"_s));
}

// The routines that take one text, each under a short name for the data rows.
static QVariant applyTextFunction(const QString &function, const QString &text)
{
    if (function == u"Code/NamePart")
        return QStringList{CodePart(text), NamePart(text)};
    if (function == u"KeyMiddle/Head")
        return QStringList{KeyMiddleSegment(text), KeyHeadBeforeCaret(text)};
    if (function == u"Spell")
        return MakeSimpleSpell(text);
    if (function == u"Bytes")
        return AnsiByteLength(text);
    if (function == u"Legal")
        return IsLegalText(text);
    if (function == u"Help") { // "MenuID|SYSID", given directly and through the login context
        const QString menuId = text.section(u'|', 0, 0), sysId = text.section(u'|', 1);
        clsLoginMsg msg;
        msg.setMenuID(menuId);
        msg.setSYSID(sysId);
        return QVariantList{HelpContextNumber(menuId, sysId), HelpContextNumber()};
    }
    return {};
}

void TestMdlFunction::textFunctions_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char *function, const char *what, const QString &text, QVariant e) {
        QTest::addRow("%s: %s", function, what) << QString::fromLatin1(function) << text << e;
    };
    const auto pair = [](const QString &a, const QString &b) { return QStringList{a, b}; };

    row("Code/NamePart", "code and name", u"1-系统"_s, pair(u"1"_s, u"系统"_s));
    row("Code/NamePart", "three pieces", u"a-b-c"_s, pair(u"a"_s, u"b"_s));
    row("Code/NamePart", "blanks kept", u" 1 - 系统 "_s, pair(u" 1 "_s, u" 系统 "_s));
    row("KeyMiddle/Head", "set node", u"CR1^HR001^x"_s, pair(u"HR001"_s, u"R1"_s));
    row("KeyMiddle/Head", "code node", u"CHR_CT001^0102^2"_s, pair(u"0102"_s, u"HR_CT001"_s));
    row("KeyMiddle/Head", "no caret", u"R1"_s, pair(QString(), QString()));
    row("KeyMiddle/Head", "adjacent carets", u"CR1^^x"_s, pair(QString(), u"R1"_s));
    row("Spell", "chinese and ascii", u"人事abc"_s, u"RSABC"_s);
    row("Spell", "full-width", u"０９ａＺ"_s, u"09AZ"_s);
    row("Spell", "ideographic space", u"中国\u3000Hr"_s, u"ZG HR"_s);
    row("Spell", "first level-1", u"啊"_s, u"A"_s);               // q 1601
    row("Spell", "last level-1", u"座"_s, u"Z"_s);                // q 5589
    row("Spell", "first level-2", u"亍"_s, u"*"_s);               // q 5601
    row("Spell", "outside GB 2312, in a range", u"纮"_s, u"K"_s); // 0xC080: q 3168
    row("Spell", "outside GB 2312, below", u"癅"_s, QString());   // 0xB040: q 1504
    row("Spell", "full-width punctuation", u"（）"_s, QString());
    row("Spell", "ascii punctuation kept", u"张-3"_s, u"Z-3"_s);
    row("Bytes", "mixed", u"人a事b 1"_s, 8);
    row("Bytes", "euro sign, one byte in 936", u"€"_s, 1);
    row("Legal", "blanks", u"   "_s, true);
    row("Legal", "name, code, full-width brackets, ;=+", u"人员 HR_1（中）;；a=b+c"_s, true);
    row("Legal", "blank then apostrophe", u"  '"_s, false);
    const QString illegal = u"*%`~!@#$^&():|<>?'\"\\/,.[]{}-！？，。、‘’“”《》"_s;
    QCOMPARE(illegal.size(), 39); // the 40 of the rule, the apostrophe listed twice
    for (QChar c : illegal)
        QTest::addRow("Legal: U+%04X", c.unicode())
            << u"Legal"_s << u"人事%1ab"_s.arg(c) << QVariant(false);
    const auto help = [](int n) { return QVariantList{n, n}; };
    row("Help", "more than seven digits", u"HR12345678|HR"_s, help(212345678));
    row("Help", "every occurrence removed", u"HR01HR02|HR"_s, help(20000102));
    row("Help", "nothing left", u"HR|HR"_s, help(0));
    row("Help", "case-sensitive removal", u"HR0101|hr"_s, help(0));
}

void TestMdlFunction::textFunctions()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    QCOMPARE(applyTextFunction(function, text), expected);
}

void TestMdlFunction::findComboIndex_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("match"); // 0 code, 1 name piece, 2 all after the first dash
    QTest::addColumn<int>("expected");

    const QStringList kinds = {u"1-人员"_s, u"2-部门"_s, u"3-职务"_s, u"10-部门"_s};
    const QStringList dashed = {u"10-x"_s, u"1-x-y"_s};
    QTest::newRow("by code") << kinds << u"3"_s << 0 << 2;
    QTest::newRow("code is not a prefix") << kinds << u"10"_s << 0 << 3;
    QTest::newRow("case matters") << QStringList{u"a-x"_s} << u"A"_s << 0 << -1;
    QTest::newRow("by name, first of two") << kinds << u"部门"_s << 1 << 1;
    QTest::newRow("name up to next dash") << dashed << u"x"_s << 1 << 0;
    QTest::newRow("name piece is not all") << dashed << u"x-y"_s << 1 << -1;
    QTest::newRow("by name, later dashes stay") << dashed << u"x-y"_s << 2 << 1;
    QTest::newRow("by name, piece is no match") << QStringList{u"1-x-y"_s} << u"x"_s << 2 << -1;
}

void TestMdlFunction::findComboIndex()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, text);
    QFETCH(int, match);
    QFETCH(int, expected);
    QCOMPARE(match == 2 ? FindComboIndexByName(text, entries)
                        : FindComboIndex(text, entries, match == 1),
             expected);
}

void TestMdlFunction::statusBarTexts()
{
    m_login->accountCode = u"008"_s;
    m_login->operatorName = u"王五"_s;
    m_login->businessDate = QDate(2024, 12, 1);
    QStringList panels;
    for (const StatusBarPanel &panel : StatusBarTexts())
        panels << u"%1 %2"_s.arg(panel.text).arg(panel.width);
    QCOMPARE(panels,
             QStringList({u"账套：[008]星桥示范企业 -1"_s,
                          u"操作员：王五 184"_s,
                          u"业务日期：2024-12-01 136"_s,
                          u" 40"_s,
                          u"[星桥软件] 80"_s}));

    Defs::instance().reset();
    QVERIFY_THROWS_EXCEPTION(HostError, StatusBarTexts());
}

void TestMdlFunction::checkFunctionRight_data()
{
    QTest::addColumn<bool>("granted");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QString>("message"); // empty: none shown
    QTest::addColumn<QStringList>("calls");

    const QString request = u"RequestTask(HM01010101,true,0)"_s;
    const QStringList refused
        = {request, u"LastErrorNumber"_s, u"LastErrorText"_s, u"ClearError"_s};
    QTest::newRow("granted") << true << 0 << QString() << true << QString() << QStringList{request};
    QTest::newRow("refused with reason") << false << 5 << u"操作员[demo]正在使用该功能"_s << false
                                         << u"操作员[demo]正在使用该功能"_s << refused;
    QTest::newRow("refused with blank reason")
        << false << 5 << u"  "_s << false << u"[新增信息集]功能暂时不能执行！"_s << refused;
    QTest::newRow("already held, error 22")
        << false << 22 << u"任务已申请"_s << true << QString()
        << QStringList{request, u"LastErrorNumber"_s, u"ClearError"_s};
}

void TestMdlFunction::checkFunctionRight()
{
    QFETCH(bool, granted);
    QFETCH(int, errorNumber);
    QFETCH(QString, errorText);
    QFETCH(bool, expected);
    QFETCH(QString, message);
    QFETCH(QStringList, calls);

    m_login->replies = {{granted, errorNumber, errorText}};
    MessageScope messages;
    QCOMPARE(CheckFunctionRight(u"HM01010101"_s, true), expected);
    QCOMPARE(m_login->calls, calls);
    QCOMPARE(messages->shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        const Message &m = messages->shown.first();
        QCOMPARE(m.text, message);
        QVERIFY(m.title == u"提示信息"_s && m.icon == MsgIcon::Critical);
    }
    // The function name is asked only when the host gives no reason.
    QCOMPARE(m_zwpub->asked.isEmpty(), !message.startsWith(u'['));
}

void TestMdlFunction::hasTMFirstDate_data()
{
    QTest::addColumn<QString>("values"); // the one row of the table; empty: no table at all
    QTest::addColumn<bool>("expected");

    QTest::newRow("date set") << u"'TM', 'dTMFirstDate', '2024-01-01'"_s << true;
    QTest::newRow("null") << u"'TM', 'dTMFirstDate', NULL"_s << false;
    QTest::newRow("blank") << u"'TM', 'dTMFirstDate', '   '"_s << false;
    QTest::newRow("other subsystem only") << u"'HR', 'dTMFirstDate', '2024-01-01'"_s << false;
    QTest::newRow("missing table") << QString() << false;
}

void TestMdlFunction::hasTMFirstDate()
{
    QFETCH(QString, values);
    QFETCH(bool, expected);

    TestDatabase db(false);
    if (!values.isEmpty()) {
        db.conn().Execute(u"create table AccInformation (cSysID varchar(2) not null, "
                          "cName varchar(50) not null, cValue varchar(100) null)"_s);
        db.conn().Execute(
            u"insert into AccInformation (cSysID, cName, cValue) values (%1)"_s.arg(values));
    }
    Defs::instance().connection = db.openAnother();
    QCOMPARE(HasTMFirstDate(), expected);
    // The record set was closed: a statement still reading the table would lock it.
    if (!values.isEmpty())
        Defs::instance().conn().Execute(u"drop table AccInformation"_s);
    Defs::instance().connection.reset();
}

int runMdlFunctionTests(int argc, char **argv)
{
    TestMdlFunction test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mdlfunction.moc"
