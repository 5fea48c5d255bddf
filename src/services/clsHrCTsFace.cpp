#include "clsHrCTsFace.h"

#include "ServiceCall.h"
#include "Sql.h"
#include "entry/Defs.h"
#include "entry/mdlFunction.h"
#include "model/clsHrCT.h"

#include <QStringList>

namespace vorlane {

using services::checkedIdentifier;
using services::likePrefixText;
using services::refused;
using services::sqlText;
using services::trapped;

namespace {

const QString tableWhat = QStringLiteral("档案表名");

db::Connection &conn()
{
    return Defs::instance().conn();
}

QString q(const QString &value)
{
    return u'\'' + sqlText(value) + u'\'';
}

QString createStatement(const QString &t)
{
    return QStringLiteral("if exists (select * from sysobjects where id = object_id(N'") + t
           + QStringLiteral("') and OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table ") + t
           + QStringLiteral(" CREATE TABLE ") + t
           + QStringLiteral(
               " (     [ccodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NOT NULL ,     "
               "[vdescription] [nvarchar] (60) COLLATE Chinese_PRC_CI_AS NOT NULL ,     "
               "[vsimpleName] [nvarchar] (60) COLLATE Chinese_PRC_CI_AS NULL ,     "
               "[vsimpleSpell] [varchar] (60) COLLATE Chinese_PRC_CI_AS NULL ,     "
               "[ilevels] [int] NULL ,     "
               "[cpCodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NULL ,     "
               "[bsysFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,     "
               "[bChildFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,     "
               "[bhideFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,     "
               "[vMemo] [varchar] (200) COLLATE Chinese_PRC_CI_AS NULL     "
               "Primary Key(ccodeId)  ) ON [PRIMARY] ");
}

// The archive browser lists codes by level ("where ilevels=0") and by parent ("where cpCodeID =
// 'X' or cCodeID= 'X' ..."); the prefix LIKE of Modify and Delete runs on the key. Plain
// CREATE INDEX, valid on SQL Server and SQLite alike; the names carry the table's name because
// SQLite's index names are schema-wide. Dropping the table drops them with it.
QStringList indexStatements(const QString &t)
{
    return {QStringLiteral("create index IX_") + t + QStringLiteral("_ilevels on ") + t
                + QStringLiteral(" (ilevels)"),
            QStringLiteral("create index IX_") + t + QStringLiteral("_cpCodeID on ") + t
                + QStringLiteral(" (cpCodeID)")};
}

} // namespace

bool clsHrCTsFace::CreateTable(const QString &strTableName)
{
    return trapped(m_lastError, [&] {
        const QString t = checkedIdentifier(strTableName, tableWhat);
        db::Connection &c = conn();
        c.Execute(createStatement(t));
        for (const QString &statement : indexStatements(t))
            c.Execute(statement);
        return RegisterCodeTableColumns(t);
    });
}

bool clsHrCTsFace::RegisterCodeTableColumns(const QString &strTableName)
{
    db::Connection &c = conn();
    QStringList statements;
    {
        // Read the whole template before writing: the record set closes on every way out.
        db::RecordsetPtr rs
            = c.OpenRecordset(QStringLiteral("select * from hr_bd_fld where ctable='HR_CT'"));
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList names;
            QStringList values;
            for (int i = 1; i < rs->FieldCount(); ++i) {
                names << checkedIdentifier(rs->FieldName(i), QStringLiteral("字段名"));
                const QVariant value = NullSafeValue(rs->FieldValue(i), rs->FieldType(i));
                values << q(value.toString());
            }
            statements << QStringLiteral("insert hr_sys_itemdict (  ctablecode ,")
                              + names.join(u',') + QStringLiteral(" ) values (") + q(strTableName)
                              + u',' + values.join(u',') + u')';
        }
        rs->Close();
    }
    for (const QString &statement : statements)
        c.Execute(statement);
    return true;
}

bool clsHrCTsFace::Add(const clsHrCT &clsCt, const QString &strTable)
{
    return trapped(m_lastError, [&] {
        const QString t = checkedIdentifier(strTable, tableWhat);
        const QString code = clsCt.CodeId();
        conn().Execute(
            QStringLiteral("insert ") + t
            + QStringLiteral(" (ccodeID,vdescription,vsimpleName,vsimpleSpell,ilevels,cpCodeID,"
                             "bsysFlag,bChildFlag,bhideFlag,vMemo)  values  (")
            + q(code) + u',' + q(clsCt.description()) + u',' + q(clsCt.SimpleName()) + u','
            + q(clsCt.SimpleSpell()) + u',' + q(QString::number(clsCt.Levels())) + u','
            + q(clsCt.pCodeId()) + u',' + q(clsCt.sFlag()) + u',' + q(clsCt.cFlag()) + u','
            + q(clsCt.HideFlag()) + u',' + q(clsCt.Memo()) + u')');
        return true;
    });
}

bool clsHrCTsFace::Modify(const clsHrCT &clsCt, const QString &TableCode)
{
    return trapped(m_lastError, [&] {
        if (TableCode.trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("档案表名为空"));
        // An empty code would spread the hide flag over the whole table.
        if (clsCt.CodeId().trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("档案编码为空"));
        const QString t = checkedIdentifier(TableCode, tableWhat);
        db::Connection &c = conn();
        c.Execute(QStringLiteral("update ") + t + QStringLiteral(" set vDescription=")
                  + q(clsCt.description()) + QStringLiteral(",  vsimpleName=")
                  + q(clsCt.SimpleName()) + QStringLiteral(",  vsimpleSpell=")
                  + q(clsCt.SimpleSpell()) + QStringLiteral(",  bsysFlag=") + q(clsCt.sFlag())
                  + QStringLiteral(",  bChildFlag=") + q(clsCt.cFlag())
                  + QStringLiteral(",  bhideFlag=") + q(clsCt.HideFlag())
                  + QStringLiteral(",  vmemo=") + q(clsCt.Memo())
                  + QStringLiteral("  where ccodeId=") + q(clsCt.CodeId()));
        c.Execute(QStringLiteral("update ") + t + QStringLiteral(" set  bhideFlag=")
                  + q(clsCt.HideFlag()) + QStringLiteral(" where ccodeId like '")
                  + likePrefixText(clsCt.CodeId()) + QStringLiteral("%'"));
        return true;
    });
}

bool clsHrCTsFace::Delete(const QString &TableCode, const QString &CodeId)
{
    return trapped(m_lastError, [&] {
        if (TableCode.trimmed().isEmpty() || CodeId.trimmed().isEmpty())
            return refused(m_lastError, QStringLiteral("档案表名或档案编码为空"));
        const QString t = checkedIdentifier(TableCode, tableWhat);
        conn().Execute(QStringLiteral("delete from ") + t + QStringLiteral("  where ccodeId like'")
                       + likePrefixText(CodeId) + QStringLiteral("%'"));
        return true;
    });
}

} // namespace vorlane
