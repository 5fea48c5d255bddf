#include "clsHrSysItemDictsFace.h"

#include "ColumnStatements.h"
#include "ServiceCall.h"
#include "Sql.h"
#include "entry/Defs.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDict.h"

namespace vorlane {

using services::checkedIdentifier;
using services::refused;
using services::sqlText;
using services::trapped;

namespace {

const QString setCodeWhat = QStringLiteral("信息集编码");
const QString itemCodeWhat = QStringLiteral("信息项编码");

db::Connection &conn()
{
    return Defs::instance().conn();
}

QString q(const QString &value)
{
    return u'\'' + sqlText(value) + u'\'';
}

QString q(qint16 value)
{
    return q(QString::number(value));
}

QString n(qint16 value)
{
    return QString::number(value);
}

// The code table an item refers to ends up in statements of the archive windows. Blanks alone
// (a padded empty host column) mean no reference.
QString checkedReference(const QString &referenceObj)
{
    if (referenceObj.trimmed().isEmpty())
        return QString();
    return checkedIdentifier(referenceObj, QStringLiteral("参照档案"));
}

} // namespace

bool clsHrSysItemDictsFace::Add(const clsHrSysItemDict &cls,
                                const QString &sTableDef,
                                bool bSys,
                                const clsHrSysDataTypes &clsDatas)
{
    Q_UNUSED(bSys)
    return trapped(m_lastError, [&] {
        const QString table = checkedIdentifier(cls.TableCode(), setCodeWhat);
        const QString item = checkedIdentifier(cls.ItemCode(), itemCodeWhat);

        const QString dictInsert
            = QStringLiteral(
                  "insert hr_sys_itemdict  "
                  "(cTableCode,citemCode,vitemName,vdescription,iitemType,vReferenceObj,"
                  "bLastLevelFlag,iitemLen,iitemDec,bsysFlag,brecordFlag,bnullFlag,vDefault,"
                  "vFormat,bdelFlag,ishowOrder,iBusinessFlag,bdefault,bDisplay,vMemo)  values  (")
              + q(table) + u',' + q(item) + u',' + q(cls.itemname()) + u',' + q(cls.description())
              + u',' + q(cls.itemtype()) + u',' + q(checkedReference(cls.ReferenceObj())) + u','
              + q(cls.LastLevelFalg()) + u',' + q(cls.itemlen()) + u',' + q(cls.itemdec()) + u','
              + q(cls.sFlag()) + u',' + q(cls.rflag()) + u',' + q(cls.nflag()) + u','
              + q(cls.sdefault()) + u',' + q(cls.sformat()) + u',' + q(cls.dFlag()) + u','
              + q(cls.ShowOrder()) + u',' + q(cls.BusinessFlag()) + u',' + q(cls.DefaultField())
              + u',' + q(cls.Display()) + u',' + q(cls.Memo()) + u')';

        const QString factType = ColumnStatements::FactTypeOf(cls.itemtype(), clsDatas);
        const QString reportInsert
            = QStringLiteral("insert Rpt_ItmDEF  (FieldName,TableName,TableDef,FieldDef,FieldType,"
                             "FieldID)  values  (")
              + q(item) + u',' + q(table) + u',' + q(sTableDef) + u',' + q(cls.itemname()) + u','
              + q(factType) + u',' + n(cls.ShowOrder()) + u')';

        const QString authInsert
            = QStringLiteral(
                  "insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  (")
              + q(table) + u',' + q(item) + u',' + q(cls.itemname()) + QStringLiteral(",'',")
              + (cls.DefaultField() == 1 ? QStringLiteral("1") : n(cls.rflag()))
              + QStringLiteral(" )");

        db::Connection &c = conn();
        c.Execute(dictInsert);
        if (cls.DefaultField() == 1 || cls.Display() == 1) {
            c.Execute(reportInsert);
            c.Execute(authInsert);
        }
        return true;
    });
}

bool clsHrSysItemDictsFace::Delete(const QString &TableCode)
{
    return trapped(m_lastError, [&] {
        if (TableCode.trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("信息集编码为空"));
        const QString table = q(checkedIdentifier(TableCode, setCodeWhat));
        db::Connection &c = conn();
        c.Execute(QStringLiteral("delete from hr_sys_itemdict where ctablecode=") + table);
        c.Execute(QStringLiteral("delete from Rpt_ItmDEF where TableName=") + table
                  + QStringLiteral(" "));
        c.Execute(QStringLiteral("delete from AA_ColumnDic where cKey=") + table
                  + QStringLiteral(" "));
        return true;
    });
}

bool clsHrSysItemDictsFace::DeleteItem(const QString &TableCode, const QString &ItemCode)
{
    return trapped(m_lastError, [&] {
        if (TableCode.trimmed().isEmpty() || ItemCode.trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("信息集编码或信息项编码为空"));
        const QString table = q(checkedIdentifier(TableCode, setCodeWhat));
        const QString item = q(checkedIdentifier(ItemCode, itemCodeWhat));
        db::Connection &c = conn();
        c.Execute(QStringLiteral("delete from hr_sys_itemdict where ctablecode=") + table
                  + QStringLiteral(" and citemCode=") + item);
        c.Execute(QStringLiteral("delete from Rpt_ItmDEF where TableName=") + table
                  + QStringLiteral(" and FieldName=") + item);
        c.Execute(QStringLiteral("delete from AA_Columndic where ckey=") + table
                  + QStringLiteral(" and cfld=") + item);
        return true;
    });
}

bool clsHrSysItemDictsFace::Modify(const clsHrSysItemDict &clsDict)
{
    return trapped(m_lastError, [&] {
        clsHrSysDataTypes dataTypes;
        dataTypes.Load(conn(), QStringLiteral("select * from hr_sys_dataType"));

        if (clsDict.TableCode().trimmed().isEmpty() || clsDict.ItemCode().trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("信息集编码或信息项编码为空"));
        const QString table = q(checkedIdentifier(clsDict.TableCode(), setCodeWhat));
        const QString item = q(checkedIdentifier(clsDict.ItemCode(), itemCodeWhat));

        const QString dictUpdate
            = QStringLiteral("update hr_sys_itemdict  set vItemName=") + q(clsDict.itemname())
              + QStringLiteral(",  vdescription=") + q(clsDict.description())
              + QStringLiteral(",  blastLevelflag=") + q(clsDict.LastLevelFalg())
              + QStringLiteral(",  iitemLen=") + q(clsDict.itemlen())
              + QStringLiteral(",  vReferenceObj=") + q(checkedReference(clsDict.ReferenceObj()))
              + QStringLiteral(",  iitemDec=") + q(clsDict.itemdec())
              + QStringLiteral(",  brecordflag=") + q(clsDict.rflag())
              + QStringLiteral(",  bnullflag=") + q(clsDict.nflag())
              + QStringLiteral(",  bsysflag=") + q(clsDict.sFlag()) + QStringLiteral(",  vdefault=")
              + q(clsDict.sdefault()) + QStringLiteral(",  vFormat=") + q(clsDict.sformat())
              + QStringLiteral(",  ishowOrder=") + q(clsDict.ShowOrder())
              + QStringLiteral(",  bDisplay=") + q(clsDict.Display()) + QStringLiteral(",  vmemo=")
              + q(clsDict.Memo()) + QStringLiteral("  where ctablecode=") + table
              + QStringLiteral(" and citemcode=") + item;

        const QString factType = ColumnStatements::FactTypeOf(clsDict.itemtype(), dataTypes);
        const QString reportUpdate = QStringLiteral("update Rpt_ItmDEF  set FieldDef=")
                                     + q(clsDict.itemname()) + QStringLiteral(",   FieldType=")
                                     + q(factType) + QStringLiteral(" where FieldName=") + item
                                     + QStringLiteral(" and TableName=") + table;

        const QString authUpdate = QStringLiteral("update AA_Columndic  set cCaption=")
                                   + q(clsDict.itemname()) + QStringLiteral(",bMustSel=")
                                   + n(clsDict.rflag()) + QStringLiteral(" where ckey=") + table
                                   + QStringLiteral(" and cfld=") + item;

        db::Connection &c = conn();
        c.Execute(dictUpdate);
        if (clsDict.Display() == 1) {
            c.Execute(reportUpdate);
            c.Execute(authUpdate);
        }
        return true;
    });
}

bool clsHrSysItemDictsFace::ModifyDelFlag(const QString &sTable, const QString &sItemCode)
{
    return trapped(m_lastError, [&] {
        if (sTable.trimmed().isEmpty() || sItemCode.trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("信息集编码或信息项编码为空"));
        const QString table = q(checkedIdentifier(sTable, setCodeWhat));
        const QString item = q(checkedIdentifier(sItemCode, itemCodeWhat));
        conn().Execute(QStringLiteral("update hr_sys_itemdict  set bdelFlag= 1 where ctablecode=")
                       + table + QStringLiteral(" and citemCode=") + item);
        return true;
    });
}

bool clsHrSysItemDictsFace::InsertTableField(const QString &strSql)
{
    return runTableField(strSql);
}

bool clsHrSysItemDictsFace::UpdateTableField(const QString &strSql)
{
    return runTableField(strSql);
}

bool clsHrSysItemDictsFace::DeleteTableField(const QString &strSql)
{
    return runTableField(strSql);
}

bool clsHrSysItemDictsFace::runTableField(const QString &strSql)
{
    return trapped(m_lastError, [&] {
        // Some engines take an empty batch as success; an empty column statement never is.
        if (strSql.trimmed().isEmpty())
            throw db::DbError(QStringLiteral("没有要执行的字段语句"));
        conn().Execute(strSql);
        return true;
    });
}

} // namespace vorlane
