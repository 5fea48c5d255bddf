// Several operators, each in a process of its own, add, modify and delete sets, items, codes and
// code tables through the windows' actions, all after the same codes. The dictionary must then
// match the tables, and each operator may have met only the system's own messages.

#include "TestDatabase.h"

#include "archive/ArchiveActions.h"
#include "archive/ArchiveClassActions.h"
#include "archive/ArchiveItemActions.h"
#include "entry/Defs.h"
#include "structure/ConstructActions.h"
#include "structure/ItemActions.h"
#include "structure/SetEditorActions.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;
using namespace vorlane;

namespace {

constexpr int Operators = 4, Seconds = 5, MaxOperations = 400;
constexpr int Numbers = 20, SharedSets = 2, Items = 4; // sets and codes are numbered to Numbers
const QString Ended = u"<ended without a message>"_s;

enum Outcome { Done, Refused, Conflict };

// Done; refused by a check that found another operator's row (or found the set gone, which then
// reads as a system set); or rolled back because of another operator's work.
std::optional<Outcome> outcomeOf(const QString &message)
{
    static const QStringList lists[]
        = {u"创建成功|修改成功|删除成功|增加成功！|修改成功！|添加成功|删除成功！"_s.split(u'|'),
           u"信息集名称不唯一，请重新输入...|信息集代码不唯一，请重新输入...|"
           "信息项代码不唯一，请重新输入...|信息项名称不唯一，请重新输入...|"
           "档案名称不唯一，请重新输入...|档案编码不唯一，请重新输入...|"
           "类别名称不唯一，请重新输入...|类别编码不唯一，请重新输入...|系统提供信息集不能删除"_s
               .split(u'|'),
           QString(u"创建失败|修改失败|删除失败|修改失败！|添加失败|删除失败！|"_s + Ended)
               .split(u'|')};
    for (int o = Done; o <= Conflict; ++o) {
        if (lists[o].contains(message))
            return Outcome(o);
    }
    return std::nullopt;
}

// Each row's fields joined by dots.
QStringList rows(db::RecordsetPtr rs)
{
    QStringList out;
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs->FieldCount(); ++i)
            fields << rs->FieldValue(i).toString().trimmed();
        out << fields.join(u'.');
    }
    return out;
}

QStringList rows(const QString &sql)
{
    return rows(Defs::instance().conn().OpenRecordset(sql));
}

// Commands 0..10: add, modify, delete a set, items, a code, and a code table (no modify).
class Operator
{
public:
    Operator(int index, const QString &classCode)
        : m_index(index)
        , m_random(quint32(index) * 7919u + 17u)
        , m_class(LoadArchiveClass(classCode).value())
    {
        for (int g = 0; g < 2; ++g) { // add mode under "other" and under the person group
            m_sets[g].EditMode = u"A"_s;
            m_sets[g].setNodeKey(nodeKey(g));
            m_sets[g].loadLists(0);
        }
    }

    // Prints the messages met, with their counts, as one JSON object.
    void run(qint64 startAt)
    {
        QThread::msleep(qMax<qint64>(0, startAt - QDateTime::currentMSecsSinceEpoch()));
        for (int n = 1; n <= 2; ++n) { // in step: all add the same new codes at the same moment
            for (int command : {0, 3, 6, 9})
                step(command, n, n);
        }
        for (QDeadlineTimer deadline(Seconds * 1000);
             m_operations < MaxOperations && !deadline.hasExpired();) {
            const double u = m_random.generateDouble(); // low numbers most often
            step(m_random.bounded(11), 1 + int(Numbers * u * u), 1 + m_random.bounded(Items));
        }
        std::printf("%s\n", QJsonDocument(m_messages).toJson(QJsonDocument::Compact).constData());
    }

private:
    static QString nodeKey(int n) { return n % 2 ? u"R1"_s : u"R9"_s; }

    void step(int command, int n, int j)
    {
        std::optional<QString> shown;
        try {
            shown = perform(command, n, j);
        } catch (const std::exception &e) {
            // A structure delete's data check meeting a dropped table ends without a word.
            const bool ended
                = (command == 2 || command == 5) && dynamic_cast<const db::DbError *>(&e);
            shown = ended ? Ended : u"<error> "_s + QString::fromLocal8Bit(e.what());
        }
        if (shown) {
            ++m_operations;
            m_messages[*shown] = m_messages.value(*shown).toInt() + 1;
        }
    }

    // One command as its window runs it on what it lists; none when it lists nothing to run it
    // on. Items go to the shared sets.
    std::optional<QString> perform(int command, int n, int j)
    {
        const QString set = u"HR_CC%1"_s.arg(command / 3 == 1 ? 1 + (n - 1) % SharedSets : n);
        const QString item = u"vI%1"_s.arg(j), code = u"%1"_s.arg(n, 2, 10, QChar(u'0'));
        const QString table = m_class.TableCode();
        const QString setRow = u"select * from hr_sys_setdict where cTableCode='%1'"_s.arg(set);
        const QHash<int, QString> listed{
            {1, setRow},
            {2, setRow},
            {3, setRow},
            {5,
             u"select * from hr_sys_itemdict where cTableCode='%1' and cItemCode='%2'"_s.arg(set,
                                                                                             item)},
            {8, u"select * from %1 where ccodeID='%2'"_s.arg(table, code)}};
        if (listed.contains(command) && rows(listed[command]).isEmpty())
            return std::nullopt;
        const auto yes = [](const QString &) { return true; };
        switch (command) {
        case 0:
            return m_sets[n % 2].add(setInput(set, n)).message;
        case 1: {
            SetEditorActions editor;
            editor.EditMode = u"M"_s;
            editor.setNodeKey(nodeKey(n));
            editor.EditTableCode = set;
            return editor.modify(setInput(set, n)).message;
        }
        case 2:
            return refusalOr(ConstructActions::SetDeleteRefusal(set),
                             [&] { return ConstructActions::DeleteSet(set).message; });
        case 3:
            return addItems(set, j);
        case 4:
            return modifyItem(set, item);
        case 5:
            return refusalOr(ConstructActions::ItemDeleteRefusal(set, item, u"1-自定义"_s),
                             [&] { return ConstructActions::DeleteItem(set, item).message; });
        case 6: {
            const ArchiveItemParent top{table, QString(), 0, u"R"_s + table + u"^0"_s};
            return AddArchiveItem(top, m_class, codeInput(code, n), nullptr, 0).message;
        }
        case 7: {
            const auto loaded = LoadArchiveCode(table, code);
            if (!loaded)
                return std::nullopt;
            const ArchiveItemInput in = codeInput(code, n, u"操作员%1"_s.arg(m_index));
            const ArchiveEditResult r = CheckArchiveItemModify(table, *loaded, in);
            return r.ok ? ModifyArchiveItem(table, *loaded, in).message : r.message;
        }
        case 8:
            return archive::DeleteArchiveItem(table, code, 0, yes).message;
        case 9: { // numbered from one counter for all operators
            ArchiveClassInput in;
            in.code = NextArchiveClassNumber();
            in.name = u"并发类%1_%2"_s.arg(m_index).arg(m_operations);
            return AddArchiveClass(in, 0).message;
        }
        default:
            const QStringList classes
                = rows(u"select cTableCode from hr_sys_setdict where vTableName like '并发类%'"_s);
            if (classes.isEmpty())
                return std::nullopt;
            return archive::DeleteArchiveClass(classes[n % classes.size()], yes).message;
        }
    }

    static QString refusalOr(const QString &refusal, const std::function<QString()> &command)
    {
        return refusal.isEmpty() ? command() : refusal;
    }
    SetEditorInput setInput(const QString &set, int n)
    {
        SetEditorInput in;
        in.code = set;
        in.name = u"并发信息集%1"_s.arg(n);
        in.memo = u"操作员%1"_s.arg(m_index);
        in.typeText = SetEditorActions::typeEntries().first();
        in.classText = m_sets[n % 2].tableClassEntries().value(0);
        in.selectedFunctions = {m_sets[n % 2].functionEntries().value(0)};
        return in;
    }
    static ItemInput itemInput(const QString &code, const QString &name, const ItemLists &lists)
    {
        const QString varchar = lists.typeEntries().filter(QRegularExpression(u"^2-"_s)).value(0);
        return {code, name, {}, varchar, {}, {}, u"10"_s, u"0"_s, {}, {}, {}, {}, {}, u"50"_s};
    }
    // Two items at once, so that operators also meet in different orders.
    static QString addItems(const QString &set, int j)
    {
        ItemCreation creation;
        creation.prepare(set);
        creation.load();
        QList<ItemInput> pending;
        for (int i : {j, j % Items + 1}) {
            ItemInput in = itemInput(u"vI%1"_s.arg(i), u"并发项%1"_s.arg(i), creation.lists());
            if (const ActionResult r = creation.checkNew(in, pending); !r.ok)
                return r.message;
            pending << in;
        }
        return creation.commit(pending).message;
    }
    static std::optional<QString> modifyItem(const QString &set, const QString &item)
    {
        ItemModification m;
        m.prepare(set, item);
        m.load();
        if (!m.hasRecord())
            return std::nullopt;
        ItemInput in = itemInput(item, m.record().itemname(), m.lists());
        in.numLen = QString::number(qMin(m.storedLength() + 1, 200));
        const ActionResult r = m.check(in);
        return r.ok ? m.commit(in).message : r.message;
    }
    static ArchiveItemInput codeInput(const QString &code, int n, const QString &memo = {})
    {
        return {code, u"并发档案%1"_s.arg(n), QString(), u"BFDA"_s, memo, 0};
    }

    int m_index;
    QRandomGenerator m_random;
    clsHrSysSetDict m_class; // the code table every operator adds its codes to
    SetEditorActions m_sets[2];
    int m_operations = 0;
    QJsonObject m_messages;
};

// Rows breaking a rule: dictionary rows without their table or column and the reverse, names
// there twice (codes are keys), catalogue rows without their dictionary row.
QStringList inconsistencies(db::Connection &conn, const QString &firstClass)
{
    const QString testTables
        = u"m.type = 'table' and (lower(m.name) like 'hr_cc%' or "
          "(lower(m.name) like 'hr_ct%' and lower(m.name) >= 'hr_ct%1'))"_s.arg(firstClass);
    QStringList found;
    for (
        const QString &check : QStringList{
            u"select cTableCode from hr_sys_setdict s where not exists (select 1 from "
            "sqlite_master m where m.type = 'table' and lower(m.name) = lower(s.cTableCode))"_s,
            u"select cTableCode, cItemCode from hr_sys_itemdict i where not exists (select 1 from "
            "pragma_table_info(i.cTableCode) p where lower(p.name) = lower(i.cItemCode))"_s,
            u"select m.name, p.name from sqlite_master m, pragma_table_info(m.name) p where "_s
                + testTables
                + u" and not exists (select 1 from hr_sys_itemdict i where lower(i.cTableCode) = "
                  "lower(m.name) and lower(i.cItemCode) = lower(p.name))"_s,
            u"select m.name from sqlite_master m where "_s + testTables
                + u" and not exists (select 1 from hr_sys_setdict s where lower(s.cTableCode) = "
                  "lower(m.name))"_s,
            u"select vTableName from hr_sys_setdict group by vTableName having count(*) > 1"_s,
            u"select Tablename from Rpt_GRPDEF r where not exists (select * from hr_sys_setdict "
            "d where d.cTableCode = r.Tablename)"_s,
            u"select cTableCode from hr_sys_setdict d where d.cTableCode like 'HR_CC%' and (not "
            "exists (select * from Rpt_GRPDEF r where r.Tablename = d.cTableCode) or not exists "
            "(select * from AA_BusObject b where b.cBusObId = d.cTableCode))"_s,
            u"select TableName, FieldName from Rpt_ItmDEF r where not exists (select * from "
            "hr_sys_itemdict i where i.cTableCode = r.TableName and i.cItemCode = r.FieldName)"_s}) {
        for (const QString &row : rows(conn.engine().QueryNative(check)))
            found << check.section(u' ', 0, 3) + u": "_s + row;
    }
    return found;
}

} // namespace

class TestOperators : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operatorsContendForTheSameCodes();
};

void TestOperators::operatorsContendForTheSameCodes()
{
    test::TestDatabase db;
    Defs::instance().connection = db.openAnother();
    ArchiveClassInput shared;
    shared.code = NextArchiveClassNumber();
    shared.name = u"并发档案类"_s;
    QVERIFY(AddArchiveClass(shared, 0).ok);
    Defs::instance().reset();

    const QString startAt = QString::number(QDateTime::currentMSecsSinceEpoch() + 2000);
    QProcess processes[Operators];
    for (int p = 0; p < Operators; ++p) {
        processes[p].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        processes[p].start(
            QCoreApplication::applicationFilePath(),
            {u"--operator"_s, db.connectionString(), QString::number(p), shared.code, startAt});
    }
    int outcomes[3] = {};
    QStringList unexpected;
    for (int p = 0; p < Operators; ++p) {
        QVERIFY(processes[p].waitForFinished(60000));
        QCOMPARE(processes[p].exitCode(), 0);
        const QByteArray output = processes[p].readAllStandardOutput().trimmed();
        qInfo("operator %d: %s", p, output.constData());
        const QJsonObject messages = QJsonDocument::fromJson(output).object();
        for (const QString &message : messages.keys()) {
            const std::optional<Outcome> outcome = outcomeOf(message);
            outcomes[outcome.value_or(Conflict)] += messages[message].toInt();
            if (!outcome)
                unexpected << message;
        }
    }
    const QStringList problems = inconsistencies(db.conn(), shared.code);
    qInfo("%s, %d operators: %d operations, %d done, %d refusals, %d conflicts, %d "
          "inconsistencies",
          qPrintable(test::TestDatabase::engineName()),
          Operators,
          outcomes[Done] + outcomes[Refused] + outcomes[Conflict],
          outcomes[Done],
          outcomes[Refused],
          outcomes[Conflict],
          int(problems.size()));
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u'\n')));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    // The operators did meet: codes were refused or lost to another operator.
    QVERIFY(outcomes[Done] > 0 && outcomes[Refused] > 0 && outcomes[Conflict] > 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments(); // --operator database index class-number start
    if (args.size() == 6 && args[1] == u"--operator") {
        Defs::instance().connection = std::make_shared<db::Connection>();
        Defs::instance().connection->Open(args[2]);
        Operator(args[3].toInt(), u"HR_CT"_s + args[4]).run(args[5].toLongLong());
        Defs::instance().reset();
        return 0;
    }
    TestOperators tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_operators.moc"
