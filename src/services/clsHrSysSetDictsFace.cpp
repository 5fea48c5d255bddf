#include "clsHrSysSetDictsFace.h"

#include "ServiceCall.h"
#include "Sql.h"
#include "entry/Defs.h"
#include "entry/mdlFunction.h"
#include "model/clsHrSysSetDict.h"

namespace vorlane {

using services::checkedIdentifier;
using services::refused;
using services::sqlText;
using services::trapped;

namespace {

const QString setCodeWhat = QStringLiteral("信息集编码");

db::Connection &conn()
{
    return Defs::instance().conn();
}

QString q(const QString &value)
{
    return u'\'' + sqlText(value) + u'\'';
}

QString dropIfExists(const QString &t)
{
    return QStringLiteral("if exists (select * from sysobjects where id = object_id(N'") + t
           + QStringLiteral("') and OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table ") + t;
}

// "R1" from "R1", "r1", "CR1^HR001^..."; a key with "^" first or second ("^R1", "C^x") gives
// the empty token, hence the key-only table.
QString groupToken(const QString &nodeKey)
{
    const QString token = nodeKey.contains(u'^') ? KeyHeadBeforeCaret(nodeKey) : nodeKey;
    return token.toUpper();
}

QString createPart(const QString &t, const QString &token)
{
    if (token == u"R1") {
        return QStringLiteral(" CREATE TABLE ") + t + QStringLiteral(" (PK_") + t
               + QStringLiteral("   ZQUID NOT NULL , cPsn_Num    VARCHAR(10) NOT NULL, iRecordID   "
                                "int, blastflag bit not null default 1, vstatus1  nvarchar(50), "
                                "nstatus2  numeric, Primary Key( PK_")
               + t + QStringLiteral("));");
    }
    if (token == u"R2") {
        return QStringLiteral(" CREATE TABLE ") + t + QStringLiteral(" (PK_") + t
               + QStringLiteral("   ZQUID NOT NULL , cDepCode    VARCHAR(12) NOT NULL, iRecordID   "
                                "int, blastflag bit not null default 1, vstatus1  nvarchar(50), "
                                "nstatus2  numeric, Primary Key( PK_")
               + t + QStringLiteral("));");
    }
    if (token == u"R3") {
        return QStringLiteral(" CREATE TABLE ") + t + QStringLiteral(" (PK_") + t
               + QStringLiteral("   ZQUID NOT NULL , cDutycode      VARCHAR(20) NOT NULL, "
                                "iRecordID   int, blastflag bit not null default 1, vstatus1  "
                                "nvarchar(50), nstatus2  numeric, Primary Key(PK_")
               + t + QStringLiteral("));");
    }
    if (token == u"R4") {
        return QStringLiteral(" CREATE TABLE ") + t + QStringLiteral(" (PK_") + t
               + QStringLiteral("   ZQUID NOT NULL , cJobcode     VARCHAR(20) NOT NULL, iRecordID "
                                "  int, blastflag bit not null default 1, vstatus1  nvarchar(50), "
                                "nstatus2  numeric, Primary Key( PK_")
               + t + QStringLiteral("));");
    }
    return QStringLiteral(" CREATE TABLE ") + t + QStringLiteral(" (PK_") + t
           + QStringLiteral("   ZQUID NOT NULL  Primary Key( PK_") + t + QStringLiteral("));");
}

} // namespace

bool clsHrSysSetDictsFace::CreateTable(const QString &strTableName, const QString &sNodeKey)
{
    return trapped(m_lastError, [&] {
        const QString t = checkedIdentifier(strTableName, setCodeWhat);
        conn().Execute(dropIfExists(t) + createPart(t, groupToken(sNodeKey)));
        return true;
    });
}

bool clsHrSysSetDictsFace::DropTable(const QString &strTableName)
{
    m_lastError.clear();
    const QString t = checkedIdentifier(strTableName, setCodeWhat);
    conn().Execute(dropIfExists(t));
    return true;
}

bool clsHrSysSetDictsFace::Add(const clsHrSysSetDict &clsDict,
                               const QString &sTableType,
                               bool bWriteToBusObject)
{
    return trapped(m_lastError, [&] {
        const QString code = checkedIdentifier(clsDict.TableCode(), setCodeWhat);
        const QString display = QString::number(clsDict.Display());

        const QString dictInsert
            = QStringLiteral(
                  "insert hr_sys_setdict  "
                  "(cTableCode,vTableName,vdescription,iTableGroup,iTableClass,icodeLen,"
                  "bMultiLevel,"
                  "vcodeFormat,iTableType,icycleType,iBusinessFlag,iFunctionScope,bsysFlag,"
                  "vParentTable,bChildFlag,bdelFlag,ishowOrder,vdisplayItem,vmainKey,bDisplay,"
                  "vMemo)"
                  "  values  (")
              + q(code) + u',' + q(clsDict.TableName()) + u',' + q(clsDict.description()) + u','
              + q(clsDict.TableGroup()) + u',' + q(clsDict.TableClass()) + u','
              + q(QString::number(clsDict.CodeLen())) + u',' + q(clsDict.MultiLevel()) + u','
              + q(clsDict.CodeFormat()) + u',' + q(clsDict.TableType()) + u','
              + q(clsDict.CycleType()) + u',' + q(clsDict.BusinessFlag()) + u','
              + q(clsDict.FunctionFlag()) + u',' + q(clsDict.sFlag()) + u','
              + q(clsDict.ParentTable()) + u',' + q(clsDict.cFlag()) + u',' + q(clsDict.dFlag())
              + u',' + q(clsDict.ShowOrder()) + u',' + q(clsDict.DisplayItem()) + u','
              + q(clsDict.MainKey()) + u',' + q(display) + u',' + q(clsDict.Memo()) + u')';

        const QString reportInsert
            = QStringLiteral(
                  "insert Rpt_GRPDEF  (Systemid,Tablename,Tabledefine,Tabletype,SystemName)"
                  "  values  ('HM',")
              + q(code) + u',' + q(clsDict.TableName()) + u',' + q(clsDict.TableGroup())
              + QStringLiteral(",'人事信息管理')");

        const QString auth = sTableType == u"5" ? QStringLiteral("0") : display;
        const QString busObjectInsert
            = QStringLiteral("insert AA_BusObject  (cBusObId,cBusObName,iAuthType,bAuthControl,"
                             "cSub_ID)  values  (")
              + q(code) + u',' + q(clsDict.TableName()) + u',' + q(auth) + u',' + q(auth)
              + QStringLiteral(",'HM')");

        db::Connection &c = conn();
        c.Execute(dictInsert);
        c.Execute(reportInsert);
        if (bWriteToBusObject)
            c.Execute(busObjectInsert);
        return true;
    });
}

bool clsHrSysSetDictsFace::Modify(const clsHrSysSetDict &clsDict,
                                  const QString &sTableType,
                                  bool bXXJ)
{
    return trapped(m_lastError, [&] {
        if (clsDict.TableCode().trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("信息集编码为空"));
        const QString code = checkedIdentifier(clsDict.TableCode(), setCodeWhat);
        const QString display = QString::number(clsDict.Display());

        const QString dictUpdate = QStringLiteral("update hr_sys_setdict  set vTableName=")
                                   + q(clsDict.TableName()) + QStringLiteral(",  vdescription=")
                                   + q(clsDict.description()) + QStringLiteral(",  bMultiLevel=")
                                   + q(clsDict.MultiLevel()) + QStringLiteral(",  vParentTable=")
                                   + q(clsDict.ParentTable()) + QStringLiteral(",  iFunctionScope=")
                                   + q(clsDict.FunctionFlag()) + QStringLiteral(",  iTableType=")
                                   + q(clsDict.TableType()) + QStringLiteral(",  iTableClass=")
                                   + q(clsDict.TableClass()) + QStringLiteral(",  bsysFlag=")
                                   + q(clsDict.sFlag()) + QStringLiteral(",  icycleType=")
                                   + q(clsDict.CycleType()) + QStringLiteral(",  ishoworder=")
                                   + q(clsDict.ShowOrder()) + QStringLiteral(",  bDisplay=")
                                   + q(display) + QStringLiteral(",  vmemo=") + q(clsDict.Memo())
                                   + QStringLiteral("  where ctablecode=") + q(code);

        const QString reportUpdate = QStringLiteral("update Rpt_GRPDEF  set Tabledefine=")
                                     + q(clsDict.TableName()) + QStringLiteral(",  Tabletype=")
                                     + q(clsDict.TableGroup()) + QStringLiteral(" where Tablename=")
                                     + q(code);

        QString busObjectUpdate;
        if (sTableType == u"5") {
            busObjectUpdate
                = QStringLiteral("update AA_BusObject  set cBusObName=") + q(clsDict.TableName())
                  + QStringLiteral(",  iAuthType=0,   bAuthControl=0  where cBusObId=") + q(code);
        } else {
            busObjectUpdate = QStringLiteral("update AA_BusObject  set cBusObName=")
                              + q(clsDict.TableName()) + QStringLiteral(",  iAuthType= ") + display
                              + QStringLiteral(",   bAuthControl=") + display
                              + QStringLiteral(" where cBusObId=") + q(code);
        }

        db::Connection &c = conn();
        c.Execute(dictUpdate);
        c.Execute(reportUpdate);
        if (bXXJ)
            c.Execute(busObjectUpdate);
        return true;
    });
}

bool clsHrSysSetDictsFace::ModifyDelFlag(const QString &sTable)
{
    return trapped(m_lastError, [&] {
        if (sTable.trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("信息集编码为空"));
        const QString code = q(checkedIdentifier(sTable, setCodeWhat));
        db::Connection &c = conn();
        c.Execute(QStringLiteral("update hr_sys_setdict  set bdelFlag= 1 where ctablecode=")
                  + code);
        c.Execute(QStringLiteral("delete from hr_sys_CategoriesMember where ctablecode=") + code);
        return true;
    });
}

bool clsHrSysSetDictsFace::Delete(const QString &TableCode)
{
    return trapped(m_lastError, [&] {
        if (TableCode.trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("信息集编码为空"));
        const QString code = q(checkedIdentifier(TableCode, setCodeWhat));
        db::Connection &c = conn();
        c.Execute(QStringLiteral("delete from hr_sys_setdict where ctablecode=") + code);
        c.Execute(QStringLiteral("delete from Rpt_GRPDEF where Tablename=") + code
                  + QStringLiteral(" and systemid='HM'"));
        c.Execute(QStringLiteral("delete from hr_sys_CategoriesMember where ctablecode=") + code);
        c.Execute(QStringLiteral("delete from AA_BusObject where cBusObId=") + code
                  + QStringLiteral(" and cSub_Id='HM'"));
        return true;
    });
}

} // namespace vorlane
