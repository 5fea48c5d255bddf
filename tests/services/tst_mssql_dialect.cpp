#include "RecordedStatements.h"
#include "ServiceDatabase.h"

#include "db/Dialect.h"
#include "db/TsqlTranslator.h"
#include "model/clsHrCT.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSystGroup.h"
#include "services/ColumnStatements.h"
#include "services/clsHrCTsFace.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"
#include "services/clsHrSystGroupFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::RecorderScope;
using vorlane::test::ServiceDatabase;

namespace {

class NoRows final : public db::Recordset
{
protected:
    bool fetchNext() override { return false; }
    QVariant valueAt(int) const override { return {}; }
    bool isNullAt(int) const override { return true; }
    void closeImpl() override {}
};

// Stands for the ODBC driver: keeps every text handed to it.
class DriverStandIn final : public db::Engine
{
public:
    QStringList received;

    // What FreeTDS and Microsoft's driver report as SQL_DBMS_NAME.
    QString DbmsName() const override { return u"Microsoft SQL Server"_s; }
    long long ExecuteNative(const QString &sql) override
    {
        received << sql;
        return 1;
    }
    db::RecordsetPtr QueryNative(const QString &sql) override
    {
        received << sql;
        return std::make_unique<NoRows>();
    }
    void Begin() override {}
    void Commit() override {}
    void Rollback() override {}
    void Close() override {}
};

} // namespace

class TstMssqlDialect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The services' statements as built (on SQLite, where they run), then through the dialect a
    // SQL Server connection picks: the driver gets each of them unchanged.
    void serverGetsTheStatementsAsBuilt()
    {
        ServiceDatabase sdb;
        RecorderScope rec(sdb.conn());
        clsHrSysSetDictsFace sets;
        clsHrSysItemDictsFace items;
        clsHrCTsFace codes;
        clsHrSysDataTypes types;
        const clsHrSysSetDict set = test::setFrom(
            u"HR_MSQ|服务器 集|O'Brien 说明|1|2|0|0||1|0|0|0|1||0|0|42|||1|备注"_s, u'|');
        clsHrSysItemDict item
            = test::itemFrom(u"HR_MSQ|cMsq|金额|说明|2||0|20|0|1|0|1|||0|12|0|0|1|"_s, u'|');
        clsHrCT ct;
        ct.setCodeId(u"01_2"_s);
        ct.setDescription(u"代码"_s);
        clsHrSystGroup group;
        group.setTableGroup(u"7"_s);
        group.setDescription(u"其他"_s);
        QVERIFY(types.Load(u"select * from hr_sys_datatype"_s));
        QVERIFY(sets.CreateTable(u"HR_MSQ"_s, u"R1"_s));
        QVERIFY(sets.Add(set, u"1"_s, true));
        QVERIFY(sets.Modify(set, u"1"_s, true));
        QVERIFY(items.Add(item, u"服务器 集"_s, false, types));
        QVERIFY(items.InsertTableField(ColumnStatements::AddStatement(
            u"HR_MSQ"_s,
            {ColumnStatements::AddDefinition(u"cMsq"_s, u"2"_s, u"varchar"_s, u"20"_s, u"0"_s),
             ColumnStatements::AddDefinition(u"nPay"_s, u"4"_s, u"numeric"_s, u"12"_s, u"2"_s)})));
        item.setItemlen(u"30"_s);
        QVERIFY(items.Modify(item));
        QVERIFY(items.UpdateTableField(ColumnStatements::AlterStatement(item, types)));
        QVERIFY(items.DeleteTableField(ColumnStatements::DropStatement(item)));
        QVERIFY(codes.CreateTable(u"HR_CT950"_s));
        QVERIFY(codes.Add(ct, u"HR_CT950"_s));
        QVERIFY(codes.Modify(ct, u"HR_CT950"_s));
        QVERIFY(codes.Delete(u"HR_CT950"_s, ct.CodeId()));
        QVERIFY(clsHrSystGroupFace().Add(group));
        QVERIFY(sets.DropTable(u"HR_MSQ"_s));

        DriverStandIn driver;
        const auto dialect = db::dialectForDbms(driver.DbmsName());
        QCOMPARE(dialect->Name(), u"SQL Server"_s);
        QStringList built;
        int rewrittenForSqlite = 0;
        for (const db::StatementEvent &e : rec->events) {
            QVERIFY2(!e.failed(), qPrintable(e.error));
            if (e.kind == db::StatementEvent::Kind::Execute)
                dialect->Execute(driver, e.statement);
            else if (e.kind == db::StatementEvent::Kind::Query)
                dialect->Query(driver, e.statement);
            else
                continue;
            built << e.statement;
            const auto steps = db::TsqlTranslator::translate(e.statement);
            rewrittenForSqlite += steps.size() != 1 || steps.first().sql != e.statement;
        }
        QCOMPARE(driver.received, built);
        // Verbatim is worth proving: the embedded engine needs most of them rewritten.
        QVERIFY2(rewrittenForSqlite * 2 > built.size(), qPrintable(built.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TstMssqlDialect)
#include "tst_mssql_dialect.moc"
