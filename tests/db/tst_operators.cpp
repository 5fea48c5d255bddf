// Several operators on one account database at once: each process adds, modifies and deletes
// information sets, items, codes and code tables through the actions the windows call, all after
// the same codes, first in step and then at random. Afterwards every dictionary row must match its
// table or column, no code may be there twice, and each operator may have met only the system's
// own messages. SQLite: processes on one file; PostgreSQL: the server VORLANE_TEST_PG names.

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
constexpr int Sets = 20, SharedSets = 2, Items = 4, Codes = 20;
// The structure browser's deletes end without a word on a database error of their data check
// (a table another operator has just dropped).
const QString Ended = u"<ended without a message>"_s;

enum Outcome { Done, Refused, Conflict };

// Every message an operator may meet here and what it tells: done; refused by a check that found
// another operator's row, or found the set gone (it then reads as a system set); or failed and
// rolled back because of another operator's work.
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

QList<QStringList> rows(db::Connection &conn, const QString &sql)
{
    QList<QStringList> out;
    for (auto rs = conn.OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
        QStringList row;
        for (int i = 0; i < rs->FieldCount(); ++i)
            row << rs->FieldValue(i).toString().trimmed();
        out << row;
    }
    return out;
}

class Operator
{
public:
    Operator(int index, const QString &classCode)
        : m_index(index)
        , m_random(quint32(index) * 7919u + 17u)
        , m_class(LoadArchiveClass(classCode).value())
    {
        for (int g = 0; g < 2; ++g) {
            m_sets[g].EditMode = u"A"_s;
            m_sets[g].setNodeKey(g ? u"R1"_s : u"R9"_s);
            m_sets[g].loadLists(0);
        }
    }

    void run(qint64 startAt)
    {
        QThread::msleep(qMax<qint64>(0, startAt - QDateTime::currentMSecsSinceEpoch()));
        // In step: every operator after the same new codes at the same moment.
        for (int k = 1; k <= 2; ++k) {
            for (int op : {0, 3, 6, 9})
                step(op, k, k, k);
        }
        for (QDeadlineTimer deadline(Seconds * 1000);
             m_operations < MaxOperations && !deadline.hasExpired();) {
            const double u = m_random.generateDouble(); // low numbers most often
            step(int(m_random.bounded(11)),
                 1 + int(Sets * u * u),
                 1 + int(m_random.bounded(Items)),
                 1 + int(Codes * u * u));
        }
        QJsonObject messages;
        for (auto it = m_messages.cbegin(); it != m_messages.cend(); ++it)
            messages.insert(it.key(), it.value());
        std::printf("%s\n", QJsonDocument(messages).toJson(QJsonDocument::Compact).constData());
    }

private:
    bool exists(const QString &sql) { return !rows(Defs::instance().conn(), sql).isEmpty(); }

    // One command as a window runs it on what it lists; nothing when there is nothing to run it
    // on. Items go to the shared sets.
    void step(int op, int k, int j, int c)
    {
        const QString set = u"HR_CC%1"_s.arg(op >= 3 && op <= 5 ? 1 + (k - 1) % SharedSets : k);
        const QString item = u"vI%1"_s.arg(j), code = u"%1"_s.arg(c, 2, 10, QChar(u'0'));
        const QString table = m_class.TableCode();
        const auto setThere = [&] {
            return exists(u"select * from hr_sys_setdict where cTableCode='%1'"_s.arg(set));
        };
        const auto yes = [](const QString &) { return true; };
        std::optional<QString> shown;
        try {
            switch (op) {
            case 0:
                shown = m_sets[k % 2].add(setInput(set, k)).message;
                break;
            case 1:
                if (setThere()) {
                    SetEditorActions editor;
                    editor.EditMode = u"M"_s;
                    editor.setNodeKey(k % 2 ? u"R1"_s : u"R9"_s);
                    editor.EditTableCode = set;
                    shown = editor.modify(setInput(set, k)).message;
                }
                break;
            case 2:
                if (setThere())
                    shown = structureDelete([&] { return ConstructActions::SetDeleteRefusal(set); },
                                            [&] { return ConstructActions::DeleteSet(set); });
                break;
            case 3:
                if (setThere())
                    shown = addItems(set, j);
                break;
            case 4:
                shown = modifyItem(set, item);
                break;
            case 5:
                if (exists(u"select * from hr_sys_itemdict where cTableCode='%1' and cItemCode="
                           "'%2'"_s.arg(set, item)))
                    shown = structureDelete(
                        [&] {
                            return ConstructActions::ItemDeleteRefusal(set, item, u"1-自定义"_s);
                        },
                        [&] { return ConstructActions::DeleteItem(set, item); });
                break;
            case 6: {
                const ArchiveItemParent top{table, QString(), 0, u"R"_s + table + u"^0"_s};
                shown = AddArchiveItem(top, m_class, codeInput(code, c), nullptr, 0).message;
                break;
            }
            case 7:
                if (const auto loaded = LoadArchiveCode(table, code)) {
                    const ArchiveItemInput in = codeInput(code, c, u"操作员%1"_s.arg(m_index));
                    const ArchiveEditResult r = CheckArchiveItemModify(table, *loaded, in);
                    shown = r.ok ? ModifyArchiveItem(table, *loaded, in).message : r.message;
                }
                break;
            case 8:
                if (LoadArchiveCode(table, code))
                    shown = archive::DeleteArchiveItem(table, code, 0, yes).message;
                break;
            case 9: { // code tables of their own, numbered from one counter for all operators
                ArchiveClassInput in;
                in.code = NextArchiveClassNumber();
                in.name = u"并发类%1_%2"_s.arg(m_index).arg(m_operations);
                shown = AddArchiveClass(in, 0).message;
                break;
            }
            default:
                const auto classes = rows(Defs::instance().conn(),
                                          u"select cTableCode from hr_sys_setdict where "
                                          "vTableName like '并发类%'"_s);
                if (!classes.isEmpty())
                    shown = archive::DeleteArchiveClass(classes.at(c % classes.size()).at(0), yes)
                                .message;
            }
        } catch (const std::exception &e) {
            shown = u"<error> "_s + QString::fromLocal8Bit(e.what());
        }
        if (shown)
            ++m_operations, ++m_messages[*shown];
    }

    // The structure browser's delete: its refusal, else the delete itself.
    template<class Refusal, class Delete>
    QString structureDelete(Refusal &&refusal, Delete &&remove)
    {
        try {
            const QString refused = refusal();
            return refused.isEmpty() ? remove().message : refused;
        } catch (const db::DbError &e) {
            std::fprintf(stderr, "operator %d: %s\n", m_index, qPrintable(e.message()));
            return Ended;
        }
    }

    SetEditorInput setInput(const QString &set, int k)
    {
        SetEditorInput in;
        in.code = set;
        in.name = u"并发信息集%1"_s.arg(k);
        in.typeText = SetEditorActions::typeEntries().first();
        in.classText = m_sets[k % 2].tableClassEntries().value(0);
        in.selectedFunctions = {m_sets[k % 2].functionEntries().value(0)};
        in.memo = u"操作员%1"_s.arg(m_index);
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
        for (int n : {j, j % Items + 1}) {
            ItemInput in = itemInput(u"vI%1"_s.arg(n), u"并发项%1"_s.arg(n), creation.lists());
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
    static ArchiveItemInput codeInput(const QString &code, int c, const QString &memo = {})
    {
        return {code, u"并发档案%1"_s.arg(c), QString(), u"BFDA"_s, memo, 0};
    }

    int m_index;
    QRandomGenerator m_random;
    clsHrSysSetDict m_class;    // the code table every operator adds its codes to
    SetEditorActions m_sets[2]; // add mode under "other" and under the person group
    int m_operations = 0;
    QMap<QString, int> m_messages;
};

// Dictionary rows without their table or column, test tables and columns without their rows,
// catalogue rows without their dictionary row, codes there twice. Code tables were numbered from
// firstClass on, at most one number for each done command.
QStringList inconsistencies(test::TestDatabase &db, int firstClass, int done)
{
    db::Connection &conn = db.conn();
    QStringList found;
    QHash<QString, QStringList> columns;
    const auto columnsOf = [&](const QString &table) {
        if (!columns.contains(table.toLower()))
            columns[table.toLower()] = db.tableExists(table) ? db.columns(table) : QStringList();
        return columns[table.toLower()];
    };
    QStringList sets;
    for (const QStringList &s : rows(conn, u"select cTableCode from hr_sys_setdict"_s)) {
        sets << s[0].toUpper();
        if (!db.tableExists(s[0]))
            found << u"set %1 without its table"_s.arg(s[0]);
    }
    for (const QStringList &i :
         rows(conn, u"select cTableCode, cItemCode from hr_sys_itemdict"_s)) {
        if (!columnsOf(i[0]).contains(i[1].toLower()))
            found << u"item %1.%2 without its column"_s.arg(i[0], i[1]);
    }
    QStringList tables;
    for (int k = 1; k <= Sets; ++k)
        tables << u"HR_CC%1"_s.arg(k);
    for (int n = firstClass; n <= firstClass + done; ++n)
        tables << u"HR_CT"_s + FormatClassNumber(n);
    for (const QString &table : std::as_const(tables)) {
        QStringList items;
        for (const QStringList &i : rows(conn,
                                         u"select cItemCode from hr_sys_itemdict where "
                                         "cTableCode='%1'"_s.arg(table)))
            items << i[0].toLower();
        for (const QString &column : columnsOf(table)) {
            if (!items.contains(column))
                found << u"column %1.%2 without its item"_s.arg(table, column);
        }
        if (!columnsOf(table).isEmpty() && !sets.contains(table.toUpper()))
            found << u"table %1 without its set"_s.arg(table);
    }
    for (const QString &check :
         {u"select upper(cTableCode) from hr_sys_setdict group by upper(cTableCode) having "
          "count(*) > 1"_s,
          u"select vTableName from hr_sys_setdict group by vTableName having count(*) > 1"_s,
          u"select upper(cTableCode), upper(cItemCode) from hr_sys_itemdict group by "
          "upper(cTableCode), upper(cItemCode) having count(*) > 1"_s,
          u"select Tablename from Rpt_GRPDEF r where not exists (select * from hr_sys_setdict "
          "d where d.cTableCode = r.Tablename)"_s,
          u"select cTableCode from hr_sys_setdict d where d.cTableCode like 'HR_CC%' and (not "
          "exists (select * from Rpt_GRPDEF r where r.Tablename = d.cTableCode) or not exists "
          "(select * from AA_BusObject b where b.cBusObId = d.cTableCode))"_s,
          u"select TableName, FieldName from Rpt_ItmDEF r where not exists (select * from "
          "hr_sys_itemdict i where i.cTableCode = r.TableName and i.cItemCode = r.FieldName)"_s,
          u"select ccodeID from HR_CT%1 group by ccodeID having count(*) > 1"_s.arg(
              FormatClassNumber(firstClass))}) {
        for (const QStringList &row : rows(conn, check))
            found << check.section(u' ', 0, 3) + u": "_s + row.join(u'.');
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
    QList<QProcess *> processes;
    for (int p = 0; p < Operators; ++p) {
        processes << new QProcess(this);
        processes.last()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        processes.last()->start(QCoreApplication::applicationFilePath(),
                                {u"--operator"_s,
                                 db.connectionString(),
                                 QString::number(p),
                                 u"HR_CT"_s + shared.code,
                                 startAt});
    }
    int operations = 0, outcomes[3] = {};
    QStringList unexpected;
    for (int p = 0; p < Operators; ++p) {
        QVERIFY(processes[p]->waitForFinished(60000));
        QCOMPARE(processes[p]->exitCode(), 0);
        const QJsonObject messages
            = QJsonDocument::fromJson(processes[p]->readAllStandardOutput()).object();
        QStringList shown;
        for (auto it = messages.begin(); it != messages.end(); ++it) {
            const int count = it.value().toInt();
            const std::optional<Outcome> outcome = outcomeOf(it.key());
            outcomes[outcome.value_or(Conflict)] += count;
            operations += count;
            shown << u"%1 ×%2"_s.arg(it.key()).arg(count);
            if (!outcome)
                unexpected << it.key();
        }
        qInfo("operator %d: %s", p, qPrintable(shown.join(u", "_s)));
    }
    const QStringList problems = inconsistencies(db, shared.code.toInt(), outcomes[Done]);
    qInfo("%s, %d operators: %d operations, %d done, %d refusals, %d conflicts, %d "
          "inconsistencies",
          qPrintable(test::TestDatabase::engineName()),
          Operators,
          operations,
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
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == u"--operator") {
        Defs::instance().connection = std::make_shared<db::Connection>();
        Defs::instance().connection->Open(args[2]);
        Operator(args[3].toInt(), args[4]).run(args[5].toLongLong());
        Defs::instance().reset();
        return 0;
    }
    TestOperators tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_operators.moc"
