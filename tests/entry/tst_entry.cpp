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

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::FakeLogin;
using vorlane::test::MessageScope;

int runMdlFunctionTests(int argc, char **argv);

namespace {

QString sqliteFile(const QTemporaryDir &dir, const QString &name)
{
    return u"sqlite:"_s + dir.filePath(name);
}

std::shared_ptr<FakeLogin> putLogin(const QString &connectionString)
{
    auto login = std::make_shared<FakeLogin>();
    login->connectionString = connectionString;
    clsLoginMsg().setCLogin(login);
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
    void newInstanceResetsOptFlagOnly();

    void showFormOpensSharedConnection();
    void showFormReportsFailedConnection();
    void secondShowFormReplacesConnection();
    void messageService();
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
    // An instance's defaults stay in it: the operator is no administrator until one is put.
    const clsLoginMsg msg;
    QVERIFY(msg.IsAdmin() && msg.DemoExe() && !msg.cLogin());
    const Defs &defs = Defs::instance();
    QVERIFY(!defs.IsAdmin && !defs.DemoExe && !defs.OperateDate.isValid() && !defs.cLogin);
    putLogin(QString());

    // Putting the login object locates the help; taking it away forgets it.
    QCOMPARE(defs.helpLocation, u"/opt/vexa/share/help/"_s);
    clsLoginMsg().setCLogin(nullptr);
    QVERIFY(!defs.cLogin && defs.helpLocation.isEmpty());
}

void TestEntry::newInstanceResetsOptFlagOnly()
{
    putLogin(QString());
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
    QCOMPARE(StatusBarTexts().at(1).text, u"操作员：张三(账套主管)"_s);
}

void TestEntry::showFormOpensSharedConnection()
{
    QTemporaryDir dir;
    const QString cs = sqliteFile(dir, u"account.db"_s);
    putLogin(cs);
    MessageScope messages;

    std::shared_ptr<db::Connection> held;
    {
        clsShowForm form;
        QCOMPARE(form.connectionString(), cs);
        held = Defs::instance().connection;
        QVERIFY(held);
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
        QCOMPARE(m.text + u'|' + m.title, u"与数据库建立连接失败|操作提示"_s);
        QCOMPARE(m.icon, MsgIcon::Critical);

        // The unopened connection stays, so later statements fail as database errors.
        QVERIFY(Defs::instance().connection);
        QCOMPARE(Defs::instance().connection->State(), int(db::adStateClosed));
        QVERIFY_THROWS_EXCEPTION(db::DbError, Defs::instance().conn().Execute(u"select 1"_s));
    }
    // Destroying it raises nothing and says nothing more.
    QVERIFY(!Defs::instance().connection);
    QCOMPARE(messages->shown.size(), 1);
    QVERIFY(!QFile::exists(u"/nonexistent-dir/x.db"_s));
}

void TestEntry::secondShowFormReplacesConnection()
{
    QTemporaryDir dir;
    auto login = putLogin(sqliteFile(dir, u"one.db"_s));
    auto first = std::make_unique<clsShowForm>();
    const auto firstConnection = Defs::instance().connection;
    login->connectionString = sqliteFile(dir, u"two.db"_s);
    auto second = std::make_unique<clsShowForm>();
    const auto current = Defs::instance().connection;
    QVERIFY(current != firstConnection);
    QCOMPARE(current->State(), int(db::adStateOpen));

    // Destroying either one closes what the login context holds at that moment.
    first.reset();
    QVERIFY(!Defs::instance().connection);
    QCOMPARE(current->State(), int(db::adStateClosed));
    second.reset();
    QVERIFY(!Defs::instance().connection);
}

void TestEntry::messageService()
{
    // Without a service every question takes its default button.
    auto original = setMessageService(nullptr);
    const auto answer = showMessage(
        u"删除吗？"_s, u"t"_s, MsgIcon::Question, MsgButtons::OkCancel, MsgResult::Cancel);
    QCOMPARE(answer, MsgResult::Cancel);

    auto scripted = std::make_shared<vorlane::test::ScriptedMessages>();
    setMessageService(scripted);
    showMessage(u"a"_s, u"t"_s);
    QCOMPARE(setMessageService(original), scripted);
    QCOMPARE(scripted->lastText(), u"a"_s);
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
