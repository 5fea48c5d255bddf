#include "FakeLogin.h"
#include "ScriptedMessages.h"
#include "TestDatabase.h"

#include "db/FieldType.h"
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

    void nullSafeValue_data();
    void nullSafeValue();
    void filterNumericKey_data();
    void filterNumericKey();
    void filterCodeKey_data();
    void filterCodeKey();
    void doubleByteKeysAreNegative();
    void characterRulesMatchKeyRules_data();
    void characterRulesMatchKeyRules();
    void validatorTexts();
    void codeAndNamePart_data();
    void codeAndNamePart();
    void findComboIndex_data();
    void findComboIndex();
    void findComboIndexByName_data();
    void findComboIndexByName();
    void nodeKeySegments_data();
    void nodeKeySegments();
    void makeSimpleSpell_data();
    void makeSimpleSpell();
    void ansiByteLength_data();
    void ansiByteLength();
    void isLegalText_data();
    void isLegalText();
    void helpContextNumber_data();
    void helpContextNumber();
    void statusBarTexts();
    void statusBarWithoutLoginThrows();
    void checkFunctionRight_data();
    void checkFunctionRight();
    void checkFunctionRightRelease();
    void checkFunctionRightWithoutHostObjects();
    void hasTMFirstDate_data();
    void hasTMFirstDate();
    void hasTMFirstDateWithoutConnection();

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

void TestMdlFunction::nullSafeValue_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("null integer") << QVariant() << int(db::adInteger) << QVariant(0);
    QTest::newRow("null boolean") << QVariant() << int(db::adBoolean) << QVariant(0);
    QTest::newRow("null varchar") << QVariant() << int(db::adVarChar) << QVariant(QString());
    QTest::newRow("null nvarchar") << QVariant() << int(db::adVarWChar) << QVariant(QString());
    // Only integer and Boolean fields read NULL as a number.
    QTest::newRow("null smallint") << QVariant() << int(db::adSmallInt) << QVariant(QString());
    QTest::newRow("null numeric") << QVariant() << int(db::adNumeric) << QVariant(QString());
    QTest::newRow("true boolean") << QVariant(true) << int(db::adBoolean) << QVariant(1);
    QTest::newRow("false boolean") << QVariant(false) << int(db::adBoolean) << QVariant(0);
    QTest::newRow("bit stored as 1") << QVariant(1) << int(db::adBoolean) << QVariant(1);
    QTest::newRow("bit stored as 0") << QVariant(0) << int(db::adBoolean) << QVariant(0);
    QTest::newRow("integer") << QVariant(42) << int(db::adInteger) << QVariant(42);
    QTest::newRow("empty text stays") << QVariant(u""_s) << int(db::adVarChar) << QVariant(u""_s);
    QTest::newRow("text") << QVariant(u"人事"_s) << int(db::adVarWChar) << QVariant(u"人事"_s);
    QTest::newRow("double") << QVariant(2.5) << int(db::adDouble) << QVariant(2.5);
}

void TestMdlFunction::nullSafeValue()
{
    QFETCH(QVariant, value);
    QFETCH(int, type);
    QFETCH(QVariant, expected);
    const QVariant result = NullSafeValue(value, type);
    QVERIFY(result.isValid());
    QCOMPARE(result.metaType(), expected.metaType());
    QCOMPARE(result, expected);
}

void TestMdlFunction::filterNumericKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("allowPoint");
    QTest::addColumn<bool>("allowMinus");
    QTest::addColumn<int>("expected");

    QTest::newRow("digit 0") << int('0') << false << false << int('0');
    QTest::newRow("digit 9") << int('9') << false << false << int('9');
    QTest::newRow("slash below 0") << int('/') << true << true << 0;
    QTest::newRow("colon above 9") << int(':') << true << true << 0;
    QTest::newRow("point allowed") << int('.') << true << false << int('.');
    QTest::newRow("point refused") << int('.') << false << true << 0;
    QTest::newRow("minus allowed") << int('-') << false << true << int('-');
    QTest::newRow("minus refused") << int('-') << true << false << 0;
    QTest::newRow("letter") << int('a') << true << true << 0;
    QTest::newRow("space") << 32 << true << true << 0;
    QTest::newRow("backspace") << 8 << false << false << 8;
    QTest::newRow("enter") << 13 << false << false << 13;
    QTest::newRow("code 31") << 31 << false << false << 31;
    QTest::newRow("double-byte") << int(AnsiKeyCode(u'人')) << true << true << 0;
    QTest::newRow("lowest 16-bit") << -32768 << true << true << 0;
    QTest::newRow("negative one") << -1 << true << true << 0;
}

void TestMdlFunction::filterNumericKey()
{
    QFETCH(int, key);
    QFETCH(bool, allowPoint);
    QFETCH(bool, allowMinus);
    QFETCH(int, expected);
    qint16 k = qint16(key);
    FilterNumericKey(k, allowPoint, allowMinus);
    QCOMPARE(int(k), expected);
}

void TestMdlFunction::filterCodeKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("kept");

    for (char c : {'A', 'Z', 'a', 'z', '_', '0', '9'})
        QTest::newRow(QByteArray(1, c).constData()) << int(c) << true;
    // The neighbours of every allowed range.
    for (char c : {'@', '[', '`', '{', '/', ':', '-', ' ', '^', '.'})
        QTest::newRow(QByteArray(1, c).constData()) << int(c) << false;
    QTest::newRow("backspace") << 8 << true;
    QTest::newRow("double-byte") << int(AnsiKeyCode(u'码')) << false;
    QTest::newRow("negative one") << -1 << false;
}

void TestMdlFunction::filterCodeKey()
{
    QFETCH(int, key);
    QFETCH(bool, kept);
    qint16 k = qint16(key);
    FilterCodeKey(k);
    QCOMPARE(int(k), kept ? key : 0);
}

void TestMdlFunction::doubleByteKeysAreNegative()
{
    // Lead byte 0xC8, trail byte 0xCB in code page 936.
    QCOMPARE(AnsiKeyCode(u'人'), qint16(quint16(0xC8CB)));
    QCOMPARE(AnsiKeyCode(u'A'), qint16('A'));
    QVERIFY(AnsiKeyCode(u'１') < 0);
}

void TestMdlFunction::characterRulesMatchKeyRules_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<bool>("numeric");      // points and minus allowed
    QTest::addColumn<bool>("numericPlain"); // neither allowed
    QTest::addColumn<bool>("code");

    QTest::newRow("digit") << QChar(u'7') << true << true << true;
    QTest::newRow("point") << QChar(u'.') << true << false << false;
    QTest::newRow("minus") << QChar(u'-') << true << false << false;
    QTest::newRow("capital") << QChar(u'Q') << false << false << true;
    QTest::newRow("underscore") << QChar(u'_') << false << false << true;
    QTest::newRow("full-width digit") << QChar(u'１') << false << false << false;
    QTest::newRow("chinese") << QChar(u'人') << false << false << false;
    QTest::newRow("tab") << QChar(u'\t') << false << false << false;
    QTest::newRow("space") << QChar(u' ') << false << false << false;
    QTest::newRow("arabic-indic digit") << QChar(u'\u0663') << false << false << false;
}

void TestMdlFunction::characterRulesMatchKeyRules()
{
    QFETCH(QChar, c);
    QFETCH(bool, numeric);
    QFETCH(bool, numericPlain);
    QFETCH(bool, code);
    QCOMPARE(IsNumericChar(c, true, true), numeric);
    QCOMPARE(IsNumericChar(c, false, false), numericPlain);
    QCOMPARE(IsCodeChar(c), code);
}

void TestMdlFunction::validatorTexts()
{
    QVERIFY(IsNumericText(u"-12.5"_s, true, true));
    QVERIFY(!IsNumericText(u"12.5"_s, false, true));
    QVERIFY(!IsNumericText(u"12 5"_s, true, true));
    QVERIFY(IsNumericText(QString(), false, false));
    QVERIFY(IsCodeText(u"HR_set01"_s));
    QVERIFY(!IsCodeText(u"HR-01"_s));
    QVERIFY(!IsCodeText(u"人事01"_s));
}

void TestMdlFunction::codeAndNamePart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");

    QTest::newRow("code and name") << u"1-系统"_s << u"1"_s << u"系统"_s;
    QTest::newRow("three pieces") << u"a-b-c"_s << u"a"_s << u"b"_s;
    QTest::newRow("no dash") << u"abc"_s << u"abc"_s << QString();
    QTest::newRow("blanks") << u"   "_s << QString() << QString();
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("leading dash") << u"-名称"_s << QString() << u"名称"_s;
    QTest::newRow("trailing dash") << u"01-"_s << u"01"_s << QString();
    QTest::newRow("blanks kept") << u" 1 - 系统 "_s << u" 1 "_s << u" 系统 "_s;
}

void TestMdlFunction::codeAndNamePart()
{
    QFETCH(QString, text);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(CodePart(text), code);
    QCOMPARE(NamePart(text), name);
}

void TestMdlFunction::findComboIndex_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byName");
    QTest::addColumn<int>("expected");

    const QStringList kinds = {u"1-人员"_s, u"2-部门"_s, u"3-职务"_s, u"10-部门"_s};
    QTest::newRow("empty list") << QStringList() << u"1"_s << false << -1;
    QTest::newRow("empty list by name") << QStringList() << u"人员"_s << true << -1;
    QTest::newRow("by code") << kinds << u"3"_s << false << 2;
    QTest::newRow("code is not a prefix") << kinds << u"10"_s << false << 3;
    QTest::newRow("by name, first of two") << kinds << u"部门"_s << true << 1;
    QTest::newRow("name is not a code") << kinds << u"部门"_s << false << -1;
    QTest::newRow("code is not a name") << kinds << u"2"_s << true << -1;
    QTest::newRow("no match") << kinds << u"4"_s << false << -1;
    QTest::newRow("case matters") << QStringList{u"a-x"_s} << u"A"_s << false << -1;
    QTest::newRow("name up to next dash") << QStringList{u"1-a-b"_s} << u"a"_s << true << 0;
    QTest::newRow("whole rest is not the name")
        << QStringList{u"1-a-b"_s} << u"a-b"_s << true << -1;
}

void TestMdlFunction::findComboIndex()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, text);
    QFETCH(bool, byName);
    QFETCH(int, expected);
    QCOMPARE(FindComboIndex(text, entries, byName), expected);
}

void TestMdlFunction::findComboIndexByName_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty list") << QStringList() << u"x"_s << -1;
    QTest::newRow("later dashes stay") << QStringList{u"10-x"_s, u"1-x-y"_s} << u"x-y"_s << 1;
    QTest::newRow("first piece only is no match") << QStringList{u"1-x-y"_s} << u"x"_s << -1;
    QTest::newRow("first of equal names") << QStringList{u"1-甲"_s, u"2-甲"_s} << u"甲"_s << 0;
    QTest::newRow("long code") << QStringList{u"HR001-人员信息"_s} << u"人员信息"_s << 0;
}

void TestMdlFunction::findComboIndexByName()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(FindComboIndexByName(text, entries), expected);
}

void TestMdlFunction::nodeKeySegments_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("head");

    QTest::newRow("set node") << u"CR1^HR001^x"_s << u"HR001"_s << u"R1"_s;
    QTest::newRow("code node") << u"CHR_CT001^0102^2"_s << u"0102"_s << u"HR_CT001"_s;
    QTest::newRow("no caret") << u"R1"_s << QString() << QString();
    QTest::newRow("one caret") << u"CR1^HR001"_s << QString() << u"R1"_s;
    QTest::newRow("adjacent carets") << u"CR1^^x"_s << QString() << u"R1"_s;
    QTest::newRow("caret second") << u"C^a^b"_s << u"a"_s << QString();
    QTest::newRow("caret first") << u"^a^b"_s << u"a"_s << QString();
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestMdlFunction::nodeKeySegments()
{
    QFETCH(QString, key);
    QFETCH(QString, middle);
    QFETCH(QString, head);
    QCOMPARE(KeyMiddleSegment(key), middle);
    QCOMPARE(KeyHeadBeforeCaret(key), head);
}

void TestMdlFunction::makeSimpleSpell_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spell");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("chinese and ascii") << u"人事abc"_s << u"RSABC"_s;
    QTest::newRow("full-width") << u"１２ａＢ"_s << u"12AB"_s;
    QTest::newRow("full-width 0 and 9, z") << u"０９ｚＺ"_s << u"09ZZ"_s;
    QTest::newRow("ideographic space") << u"\u3000"_s << u" "_s;
    QTest::newRow("first level-1 character") << u"啊"_s << u"A"_s;     // q 1601
    QTest::newRow("last level-1 character") << u"座"_s << u"Z"_s;      // q 5589
    QTest::newRow("first level-2 character") << u"亍"_s << u"*"_s;     // q 5601
    QTest::newRow("outside GB 2312, in a range") << u"纮"_s << u"K"_s; // 0xC080: q 3168
    QTest::newRow("outside GB 2312, below") << u"癅"_s << QString();   // 0xB040: q 1504
    QTest::newRow("greek letter") << u"α"_s << QString();              // row 6
    QTest::newRow("full-width punctuation") << u"（）"_s << QString();
    QTest::newRow("ascii punctuation kept") << u"张-3"_s << u"Z-3"_s;
    QTest::newRow("mixed") << u"中国 Hr"_s << u"ZG HR"_s;
}

void TestMdlFunction::makeSimpleSpell()
{
    QFETCH(QString, text);
    QFETCH(QString, spell);
    QCOMPARE(MakeSimpleSpell(text), spell);
}

void TestMdlFunction::ansiByteLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("ascii") << u"abc 1"_s << 5;
    QTest::newRow("chinese") << u"人事信息"_s << 8;
    QTest::newRow("mixed") << u"人a事b"_s << 6;
    QTest::newRow("full-width digit") << u"１"_s << 2;
    QTest::newRow("ideographic space") << u"\u3000"_s << 2;
    QTest::newRow("euro sign, one byte in 936") << u"€"_s << 1;
    QTest::newRow("GBK extension") << u"纮"_s << 2;
}

void TestMdlFunction::ansiByteLength()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QCOMPARE(AnsiByteLength(text), bytes);
}

void TestMdlFunction::isLegalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("legal");

    const QString illegal = u"*%`~!@#$^&():|<>?'\"\\/,.[]{}-！？，。、‘’“”《》"_s;
    QCOMPARE(illegal.size(), 39); // the 40 of the rule, the apostrophe listed twice
    for (QChar c : illegal) {
        QTest::addRow("U+%04X inside", unsigned(c.unicode()))
            << QString(u"人事" + QString(c) + u"ab") << false;
        QTest::addRow("U+%04X alone", unsigned(c.unicode())) << QString(c) << false;
    }
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("blanks") << u"   "_s << true;
    QTest::newRow("name") << u"人员信息"_s << true;
    QTest::newRow("code") << u"HR_set01"_s << true;
    QTest::newRow("inner blank") << u"a b"_s << true;
    QTest::newRow("full-width parentheses") << u"（中）"_s << true;
    QTest::newRow("semicolons") << u";；"_s << true;
    QTest::newRow("equals and plus") << u"a=b+c"_s << true;
    QTest::newRow("blank then apostrophe") << u"  '"_s << false;
}

void TestMdlFunction::isLegalText()
{
    QFETCH(QString, text);
    QFETCH(bool, legal);
    QCOMPARE(IsLegalText(text), legal);
}

void TestMdlFunction::helpContextNumber_data()
{
    QTest::addColumn<QString>("menuId");
    QTest::addColumn<QString>("sysId");
    QTest::addColumn<int>("expected");

    QTest::newRow("menu of HR") << u"HR0101"_s << u"HR"_s << 20000101;
    QTest::newRow("seven digits") << u"HR1234567"_s << u"HR"_s << 21234567;
    QTest::newRow("more than seven digits") << u"HR12345678"_s << u"HR"_s << 212345678;
    QTest::newRow("every occurrence removed") << u"HR01HR02"_s << u"HR"_s << 20000102;
    QTest::newRow("zero") << u"HR00"_s << u"HR"_s << 20000000;
    QTest::newRow("no SYSID") << u"0305"_s << QString() << 20000305;
    QTest::newRow("nothing left") << u"HR"_s << u"HR"_s << 0;
    QTest::newRow("letters left") << u"HRX01"_s << u"HR"_s << 0;
    QTest::newRow("case-sensitive removal") << u"HR0101"_s << u"hr"_s << 0;
    QTest::newRow("empty") << QString() << QString() << 0;
}

void TestMdlFunction::helpContextNumber()
{
    QFETCH(QString, menuId);
    QFETCH(QString, sysId);
    QFETCH(int, expected);
    QCOMPARE(HelpContextNumber(menuId, sysId), expected);

    clsLoginMsg msg;
    msg.setMenuID(menuId);
    msg.setSYSID(sysId);
    QCOMPARE(HelpContextNumber(), expected);
}

void TestMdlFunction::statusBarTexts()
{
    m_login->accountCode = u"008"_s;
    m_login->accountName = u"星桥示范企业"_s;
    m_login->operatorName = u"王五"_s;
    m_login->businessDate = QDate(2024, 12, 1);
    const QList<StatusBarPanel> panels = StatusBarTexts();
    QCOMPARE(panels.size(), 5);
    QCOMPARE(panels.at(0).text, u"账套：[008]星桥示范企业"_s);
    QCOMPARE(panels.at(0).width, -1);
    QCOMPARE(panels.at(1).text, u"操作员：王五"_s);
    QCOMPARE(panels.at(1).width, 184);
    QCOMPARE(panels.at(2).text, u"业务日期：2024-12-01"_s);
    QCOMPARE(panels.at(2).width, 136);
    QVERIFY(panels.at(3).text.isEmpty());
    QCOMPARE(panels.at(3).width, 40);
    QCOMPARE(panels.at(4).text, u"[星桥软件]"_s);
    QCOMPARE(panels.at(4).width, 80);
}

void TestMdlFunction::statusBarWithoutLoginThrows()
{
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
    QTest::newRow("granted") << true << 0 << QString() << true << QString() << QStringList{request};
    QTest::newRow("refused with reason")
        << false << 5 << u"操作员[demo]正在使用该功能"_s << false << u"操作员[demo]正在使用该功能"_s
        << QStringList{request, u"LastErrorNumber"_s, u"LastErrorText"_s, u"ClearError"_s};
    QTest::newRow("refused with blank reason")
        << false << 5 << u"  "_s << false << u"[新增信息集]功能暂时不能执行！"_s
        << QStringList{request, u"LastErrorNumber"_s, u"LastErrorText"_s, u"ClearError"_s};
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
    if (message.isEmpty()) {
        QVERIFY(messages->shown.isEmpty());
    } else {
        QCOMPARE(messages->shown.size(), 1);
        QCOMPARE(messages->shown.first().text, message);
        QCOMPARE(messages->shown.first().title, u"提示信息"_s);
        QCOMPARE(messages->shown.first().icon, MsgIcon::Critical);
    }
    // The function name is asked only when the host gives no reason.
    QCOMPARE(m_zwpub->asked.isEmpty(), !message.startsWith(u'['));
}

void TestMdlFunction::checkFunctionRightRelease()
{
    MessageScope messages;
    QVERIFY(CheckFunctionRight(u"HM01020101"_s, false));
    QCOMPARE(m_login->calls, QStringList{u"RequestTask(HM01020101,false,0)"_s});

    // A refusal of an unnamed code shows the host's name for it, here the empty one.
    m_login->replies = {{false, 3, QString()}};
    QVERIFY(!CheckFunctionRight(u"HM99"_s, true));
    QCOMPARE(messages->lastText(), u"[]功能暂时不能执行！"_s);
}

void TestMdlFunction::checkFunctionRightWithoutHostObjects()
{
    MessageScope messages;
    // A refusal without a reason needs the function-name object to say what was refused.
    Defs::instance().ZWPub.reset();
    m_login->replies = {{false, 5, QString()}};
    QVERIFY_THROWS_EXCEPTION(HostError, CheckFunctionRight(u"HM01010101"_s, true));
    QVERIFY(messages->shown.isEmpty());

    Defs::instance().reset();
    QVERIFY_THROWS_EXCEPTION(HostError, CheckFunctionRight(u"HM01010101"_s, true));
}

void TestMdlFunction::hasTMFirstDate_data()
{
    QTest::addColumn<QString>("rows"); // statements run before the check; empty: no table at all
    QTest::addColumn<bool>("expected");

    const auto row = [](const char16_t *values) {
        return u"insert into AccInformation (cSysID, cName, cValue) values "_s
               + QString::fromUtf16(values);
    };
    QTest::newRow("date set") << row(u"('TM', 'dTMFirstDate', '2024-01-01')") << true;
    QTest::newRow("null") << row(u"('TM', 'dTMFirstDate', NULL)") << false;
    QTest::newRow("blank") << row(u"('TM', 'dTMFirstDate', '   ')") << false;
    QTest::newRow("empty") << row(u"('TM', 'dTMFirstDate', '')") << false;
    QTest::newRow("other subsystem only") << row(u"('HR', 'dTMFirstDate', '2024-01-01')") << false;
    QTest::newRow("other name only") << row(u"('TM', 'dTMStartDate', '2024-01-01')") << false;
    QTest::newRow("no row") << u"delete from AccInformation"_s << false;
    QTest::newRow("missing table") << QString() << false;
}

void TestMdlFunction::hasTMFirstDate()
{
    QFETCH(QString, rows);
    QFETCH(bool, expected);

    TestDatabase db(false);
    if (!rows.isEmpty()) {
        db.conn().Execute(u"create table AccInformation (cSysID varchar(2) not null, "
                          "cID varchar(10) null, cName varchar(50) not null, "
                          "cCaption varchar(100) null, cType varchar(20) null, "
                          "cValue varchar(100) null)"_s);
        db.conn().Execute(rows);
    }
    Defs::instance().connection = db.openAnother();
    QCOMPARE(HasTMFirstDate(), expected);
    // The record set was closed: a statement still reading the table would lock it.
    if (!rows.isEmpty())
        Defs::instance().conn().Execute(u"drop table AccInformation"_s);
    Defs::instance().connection.reset();
}

void TestMdlFunction::hasTMFirstDateWithoutConnection()
{
    QVERIFY(!Defs::instance().connection);
    QVERIFY(!HasTMFirstDate());
}

int runMdlFunctionTests(int argc, char **argv)
{
    TestMdlFunction test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mdlfunction.moc"
