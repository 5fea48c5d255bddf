#include "FakeLogin.h"
#include "ScriptedMessages.h"

#include "entry/Defs.h"
#include "entry/MessageService.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsShowForm.h"
#include "entry/mdlFunction.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::FakeLogin;
using vorlane::test::FakeZWPub;
using vorlane::test::MessageScope;

int runMdlFunctionTests(int argc, char **argv);

namespace {

// One property of clsLoginMsg seen through puts of two values, gets on instances and the login
// context. Two values, so that a put is visible even when one of them equals a default.
struct Property
{
    std::function<void(clsLoginMsg &, int)> put;
    std::function<bool(const clsLoginMsg &, int)> getIs;
    std::function<bool(const clsLoginMsg &)> getIsDefault;
    std::function<bool(int)> contextIs;
};

template<typename Setter, typename T>
Property property(Setter setter, T (clsLoginMsg::*getter)() const, T Defs::*member, T a, T b)
{
    const auto value = [=](int which) { return which == 0 ? a : b; };
    return {[=](clsLoginMsg &m, int which) { (m.*setter)(value(which)); },
            [=](const clsLoginMsg &m, int which) { return (m.*getter)() == value(which); },
            [=](const clsLoginMsg &m) { return (m.*getter)() == (clsLoginMsg().*getter)(); },
            [=](int which) { return Defs::instance().*member == value(which); }};
}

Property propertyNamed(const QString &name)
{
    static const auto login = std::make_shared<FakeLogin>();
    static const auto zwpub = std::make_shared<FakeZWPub>();
    using M = clsLoginMsg;
    using D = Defs;
    using LoginPtr = std::shared_ptr<VexaLogin>;
    using ZWPubPtr = std::shared_ptr<ZWPub>;
    static const QHash<QString, Property> all = {
        {u"cLogin"_s, property(&M::setCLogin, &M::cLogin, &D::cLogin, LoginPtr(login), LoginPtr())},
        {u"CAccId"_s, property(&M::setCAccId, &M::CAccId, &D::CAccId, u"008"_s, u"009"_s)},
        {u"CAccName"_s, property(&M::setCAccName, &M::CAccName, &D::CAccName, u"示范"_s, u"x"_s)},
        {u"OptId"_s, property(&M::setOptId, &M::OptId, &D::OptId, u"demo"_s, u"u2"_s)},
        {u"OptName"_s, property(&M::setOptName, &M::OptName, &D::OptName, u"李四"_s, u"王五"_s)},
        {u"OperateDate"_s,
         property(&M::setOperateDate,
                  &M::OperateDate,
                  &D::OperateDate,
                  QDate(2024, 2, 29),
                  QDate(1666, 6, 6))},
        {u"IsAdmin"_s, property(&M::setIsAdmin, &M::IsAdmin, &D::IsAdmin, true, false)},
        {u"DemoExe"_s, property(&M::setDemoExe, &M::DemoExe, &D::DemoExe, true, false)},
        {u"CurrentPath"_s,
         property(&M::setCurrentPath, &M::CurrentPath, &D::CurrentPath, u"/home/a"_s, u"/tmp"_s)},
        {u"UserId"_s, property(&M::setUserId, &M::UserId, &D::UserId, u"u1"_s, u"u2"_s)},
        {u"DbName"_s, property(&M::setDbName, &M::DbName, &D::DbName, u"UFDATA"_s, u"HR"_s)},
        {u"DbIp"_s, property(&M::setDbIp, &M::DbIp, &D::DbIp, u"10.0.0.2"_s, u"::1"_s)},
        {u"OptFlag"_s, property(&M::setOptFlag, &M::OptFlag, &D::OptFlag, qint16(1), qint16(-1))},
        {u"ZWPub"_s, property(&M::setZWPub, &M::ZWPub, &D::ZWPub, ZWPubPtr(zwpub), ZWPubPtr())},
        {u"MenuID"_s, property(&M::setMenuID, &M::MenuID, &D::MenuID, u"HR0101"_s, u"HR02"_s)},
        {u"SYSID"_s, property(&M::setSYSID, &M::SYSID, &D::SYSID, u"HR"_s, u"TM"_s)},
        {u"HMJZ"_s, property(&M::setHMJZ, &M::HMJZ, &D::HMJZ, true, false)},
        {u"MenueStyleID"_s,
         property(&M::setMenueStyleID, &M::MenueStyleID, &D::MenueStyleID, qint16(2), qint16(1))},
    };
    return all.value(name);
}

std::shared_ptr<FakeLogin> putLogin(const QString &connectionString)
{
    auto login = std::make_shared<FakeLogin>();
    login->connectionString = connectionString;
    clsLoginMsg msg;
    msg.setCLogin(login);
    return login;
}

} // namespace

class TestEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void freshLoginMsgDefaults();
    void contextIsAdminStaysFalseUntilPut();
    void putAndGet_data();
    void putAndGet();
    void newInstanceResetsOptFlagOnly();
    void putLoginSetsHelpLocation();

    void showFormOpensSharedConnection();
    void showFormReportsFailedConnection();
    void showFormWithoutLoginThrows();
    void secondShowFormReplacesConnection();
    void destroyingClosesCurrentConnection();

    void defaultMessageServiceAnswersDefaultButton();
    void setMessageServiceReturnsPrevious();
};

void TestEntry::init()
{
    Defs::instance().reset();
}

void TestEntry::cleanup()
{
    Defs::instance().reset();
}

void TestEntry::freshLoginMsgDefaults()
{
    const clsLoginMsg msg;
    QCOMPARE(msg.OperateDate(), QDate(1666, 6, 6));
    QVERIFY(msg.IsAdmin());
    QVERIFY(msg.DemoExe());
    QVERIFY(!msg.HMJZ());
    QVERIFY(!msg.cLogin());
    for (const QString &text : {msg.CAccId(),
                                msg.CAccName(),
                                msg.OptId(),
                                msg.OptName(),
                                msg.CurrentPath(),
                                msg.UserId(),
                                msg.DbName(),
                                msg.DbIp()})
        QVERIFY(text.isEmpty());

    // The defaults stay in the instance.
    const Defs &defs = Defs::instance();
    QVERIFY(!defs.IsAdmin);
    QVERIFY(!defs.DemoExe);
    QVERIFY(!defs.OperateDate.isValid());
    QVERIFY(!defs.cLogin);
}

void TestEntry::contextIsAdminStaysFalseUntilPut()
{
    auto login = putLogin(QString());
    clsLoginMsg msg;
    QVERIFY(msg.IsAdmin());
    QCOMPARE(StatusBarTexts().at(1).text, u"操作员：张三"_s);

    msg.setIsAdmin(true);
    QVERIFY(Defs::instance().IsAdmin);
    QCOMPARE(StatusBarTexts().at(1).text, u"操作员：张三(账套主管)"_s);
}

void TestEntry::putAndGet_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("contextOnly");
    const QStringList instanceCopies = {u"cLogin"_s,
                                        u"CAccId"_s,
                                        u"CAccName"_s,
                                        u"OptId"_s,
                                        u"OptName"_s,
                                        u"OperateDate"_s,
                                        u"IsAdmin"_s,
                                        u"DemoExe"_s,
                                        u"CurrentPath"_s,
                                        u"UserId"_s,
                                        u"DbName"_s,
                                        u"DbIp"_s,
                                        u"HMJZ"_s};
    const QStringList contextOnly
        = {u"OptFlag"_s, u"ZWPub"_s, u"MenuID"_s, u"SYSID"_s, u"MenueStyleID"_s};
    for (const QString &name : instanceCopies)
        QTest::newRow(qPrintable(name)) << name << false;
    for (const QString &name : contextOnly)
        QTest::newRow(qPrintable(name)) << name << true;
}

void TestEntry::putAndGet()
{
    QFETCH(QString, name);
    QFETCH(bool, contextOnly);
    const Property p = propertyNamed(name);
    QVERIFY(p.put);

    clsLoginMsg writer;
    clsLoginMsg other;
    for (int which : {0, 1}) {
        p.put(writer, which);
        QVERIFY(p.contextIs(which));
        QVERIFY(p.getIs(writer, which));
        if (contextOnly)
            QVERIFY(p.getIs(other, which)); // read back from the login context
        else
            QVERIFY(p.getIsDefault(other)); // its own copy is untouched
    }
}

void TestEntry::newInstanceResetsOptFlagOnly()
{
    clsLoginMsg first;
    first.setOptFlag(1);
    first.setMenueStyleID(2);
    first.setMenuID(u"HR0101"_s);
    first.setIsAdmin(true);
    QCOMPARE(Defs::instance().OptFlag, qint16(1));

    clsLoginMsg second;
    QCOMPARE(Defs::instance().OptFlag, qint16(0));
    QCOMPARE(first.OptFlag(), qint16(0));
    QCOMPARE(second.MenueStyleID(), qint16(2));
    QCOMPARE(second.MenuID(), u"HR0101"_s);
    QVERIFY(Defs::instance().IsAdmin);
}

void TestEntry::putLoginSetsHelpLocation()
{
    auto login = std::make_shared<FakeLogin>();
    login->installPath = u"/opt/星桥"_s;
    clsLoginMsg msg;
    QVERIFY(Defs::instance().helpLocation.isEmpty());
    msg.setCLogin(login);
    QCOMPARE(Defs::instance().helpLocation, u"/opt/星桥/share/help/"_s);
    QVERIFY(msg.cLogin() == login);

    msg.setCLogin(nullptr);
    QVERIFY(!Defs::instance().cLogin);
    QVERIFY(Defs::instance().helpLocation.isEmpty());
}

void TestEntry::showFormOpensSharedConnection()
{
    QTemporaryDir dir;
    const QString cs = u"sqlite:"_s + dir.filePath(u"account.db"_s);
    auto login = putLogin(cs);
    MessageScope messages;

    std::shared_ptr<db::Connection> held;
    {
        clsShowForm form;
        QCOMPARE(form.connectionString(), cs);
        QVERIFY(login->calls.contains(u"ConnectionString"_s));
        held = Defs::instance().connection;
        QVERIFY(held);
        QCOMPARE(held->State(), int(db::adStateOpen));
        // Every part of the component reaches this very connection.
        QCOMPARE(&Defs::instance().conn(), held.get());
        Defs::instance().conn().Execute(u"create table t (a int)"_s);
        Defs::instance().conn().Execute(u"insert into t (a) values (7)"_s);
    }
    QVERIFY(!Defs::instance().connection);
    QCOMPARE(held->State(), int(db::adStateClosed));
    QVERIFY(messages->shown.isEmpty());
    QVERIFY_THROWS_EXCEPTION(db::DbError, Defs::instance().conn());

    // What ran on it reached the file.
    db::Connection check;
    check.Open(cs);
    QCOMPARE(check.OpenRecordset(u"select a from t"_s)->FieldValue(0).toInt(), 7);
}

void TestEntry::showFormReportsFailedConnection()
{
    putLogin(u"sqlite:/nonexistent-dir/x.db"_s);
    MessageScope messages;
    {
        clsShowForm form;
        QCOMPARE(messages->shown.size(), 1);
        const Message &m = messages->shown.first();
        QCOMPARE(m.text, u"与数据库建立连接失败"_s);
        QCOMPARE(m.title, u"操作提示"_s);
        QCOMPARE(m.icon, MsgIcon::Critical);

        // The unopened connection stays, so later statements fail as database errors.
        QVERIFY(Defs::instance().connection);
        QCOMPARE(Defs::instance().connection->State(), int(db::adStateClosed));
        QVERIFY_THROWS_EXCEPTION(db::DbError, Defs::instance().conn().Execute(u"select 1"_s));
        QVERIFY(!HasTMFirstDate());
    }
    // Destroying it raises nothing and says nothing more.
    QVERIFY(!Defs::instance().connection);
    QCOMPARE(messages->shown.size(), 1);
    QVERIFY(!QFile::exists(u"/nonexistent-dir/x.db"_s));
}

void TestEntry::showFormWithoutLoginThrows()
{
    QTemporaryDir dir;
    auto previous = std::make_shared<db::Connection>();
    previous->Open(u"sqlite:"_s + dir.filePath(u"a.db"_s));
    Defs::instance().connection = previous;
    MessageScope messages;

    QVERIFY_THROWS_EXCEPTION(HostError, clsShowForm());
    QVERIFY(Defs::instance().connection == previous);
    QCOMPARE(previous->State(), int(db::adStateOpen));
    QVERIFY(messages->shown.isEmpty());
}

void TestEntry::secondShowFormReplacesConnection()
{
    QTemporaryDir dir;
    auto login = putLogin(u"sqlite:"_s + dir.filePath(u"one.db"_s));
    auto first = std::make_unique<clsShowForm>();
    auto firstConnection = Defs::instance().connection;

    login->connectionString = u"sqlite:"_s + dir.filePath(u"two.db"_s);
    clsShowForm second;
    QVERIFY(Defs::instance().connection != firstConnection);
    QCOMPARE(Defs::instance().conn().State(), int(db::adStateOpen));
    QCOMPARE(first->connectionString(), u"sqlite:"_s + dir.filePath(u"one.db"_s));
    QCOMPARE(second.connectionString(), login->connectionString);
}

void TestEntry::destroyingClosesCurrentConnection()
{
    QTemporaryDir dir;
    auto login = putLogin(u"sqlite:"_s + dir.filePath(u"one.db"_s));
    auto first = std::make_unique<clsShowForm>();
    login->connectionString = u"sqlite:"_s + dir.filePath(u"two.db"_s);
    auto second = std::make_unique<clsShowForm>();
    auto current = Defs::instance().connection;

    // Destroying either one closes what the login context holds at that moment.
    first.reset();
    QVERIFY(!Defs::instance().connection);
    QCOMPARE(current->State(), int(db::adStateClosed));
    second.reset();
    QVERIFY(!Defs::instance().connection);
}

void TestEntry::defaultMessageServiceAnswersDefaultButton()
{
    auto previous = setMessageService(nullptr);
    const MsgResult answer = showMessage(u"确认删除吗？"_s,
                                         u"人事信息管理"_s,
                                         MsgIcon::Question,
                                         MsgButtons::OkCancel,
                                         MsgResult::Cancel);
    setMessageService(previous);
    QCOMPARE(answer, MsgResult::Cancel);
}

void TestEntry::setMessageServiceReturnsPrevious()
{
    auto outer = std::make_shared<vorlane::test::ScriptedMessages>();
    auto original = setMessageService(outer);
    auto inner = std::make_shared<vorlane::test::ScriptedMessages>();
    QCOMPARE(setMessageService(inner), outer);
    showMessage(u"a"_s, u"t"_s);
    QCOMPARE(setMessageService(original), inner);
    QCOMPARE(inner->shown.size(), 1);
    QVERIFY(outer->shown.isEmpty());
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int status = 0;
    {
        TestEntry entry;
        status |= QTest::qExec(&entry, argc, argv);
    }
    status |= runMdlFunctionTests(argc, argv);
    return status;
}

#include "tst_entry.moc"
