#include "CategoryMembers.h"

#include "db/Connection.h"
#include "entry/mdlFunction.h"
#include "services/Sql.h"

namespace vorlane::business {

namespace {

QString text(const db::Recordset &rs, const QString &name)
{
    const int i = rs.FieldIndex(name);
    return i < 0 ? QString() : NullSafeValue(rs.FieldValue(i), rs.FieldType(i)).toString();
}

} // namespace

QList<CategoryNode> loadCategories(db::Connection &conn)
{
    QList<CategoryNode> nodes;
    auto rs
        = conn.OpenRecordset(QStringLiteral("select * from hr_sys_Categories order by ishoworder"));
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString name = text(*rs, QStringLiteral("vname"));
        nodes.append({u'R' + text(*rs, QStringLiteral("cid")) + u'-' + name, name});
    }
    return nodes;
}

QString categoryCodeOfKey(const QString &key)
{
    return CodePart(key).mid(1);
}

MemberGrid loadMembers(db::Connection &conn, const QString &categoryCode)
{
    MemberGrid grid;
    grid.titles = QStringList{QStringLiteral("业务信息代码"),
                              QStringLiteral("信息集代码"),
                              QStringLiteral("信息集名称"),
                              QStringLiteral("应用表描述"),
                              QStringLiteral("备注")};
    auto rs = conn.OpenRecordset(
        QStringLiteral("select t1.cid as '业务代码',t1.ctablecode as '信息集代码',t2.vtablename as "
                       "'信息集名称',t2.vdescription as '信息集描述',t2.vmemo as '备注' from "
                       "hr_sys_CategoriesMember as t1 left join hr_sys_setdict as t2 on "
                       "t1.ctablecode=t2.ctablecode  where t1.cid='")
        + services::sqlText(categoryCode)
        + QStringLiteral("' and t2.bDisplay=1 and t2.bdelFlag=0 order by  t2.ishowOrder"));
    if (rs->Eof())
        return grid;
    grid.titles.clear();
    for (int c = 0; c < rs->FieldCount(); ++c)
        grid.titles << rs->FieldName(c);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList row;
        for (int c = 0; c < rs->FieldCount(); ++c)
            row << NullSafeValue(rs->FieldValue(c), rs->FieldType(c)).toString();
        grid.rows << row;
    }
    return grid;
}

QStringList offeredGroups(db::Connection &conn, const QString &categoryCode)
{
    static const QStringList personOnly{QStringLiteral("CJ002"),
                                        QStringLiteral("DJ003"),
                                        QStringLiteral("LZ005"),
                                        QStringLiteral("TP004")};
    const bool personGroup = personOnly.contains(categoryCode);
    const bool otherGroups = categoryCode == QLatin1String("BZ001");
    QStringList entries;
    auto rs = conn.OpenRecordset(QStringLiteral("select * from hr_sys_tgroup"));
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString group = text(*rs, QStringLiteral("itablegroup"));
        const bool offered = personGroup ? group == QLatin1String("1")
                                         : otherGroups && group != QLatin1String("1")
                                               && group != QLatin1String("5");
        if (offered)
            entries << group + u'-' + text(*rs, QStringLiteral("vdescription"));
    }
    return entries;
}

QStringList setsOfGroup(db::Connection &conn, const QString &group)
{
    QStringList entries;
    auto rs = conn.OpenRecordset(
        QStringLiteral("select * from hr_sys_setdict where bDisplay=1 and itableclass=1 and "
                       "bdelFlag=0 and itablegroup=")
        + QString::number(services::checkedWholeNumber(group, QStringLiteral("表组")))
        + QStringLiteral(" order by ishoworder "));
    for (; !rs->Eof(); rs->MoveNext())
        entries << text(*rs, QStringLiteral("vtablename")) + u'-'
                       + text(*rs, QStringLiteral("ctablecode"));
    return entries;
}

QStringList memberCodes(db::Connection &conn, const QString &categoryCode)
{
    QStringList codes;
    auto rs = conn.OpenRecordset(QStringLiteral("select * from hr_sys_CategoriesMember where cid='")
                                 + services::sqlText(categoryCode) + u'\'');
    for (; !rs->Eof(); rs->MoveNext())
        codes << text(*rs, QStringLiteral("ctablecode"));
    return codes;
}

bool saveMembers(db::Connection &conn,
                 const QString &categoryCode,
                 const QString &group,
                 const QStringList &setCodes)
{
    try {
        const QString cid = services::sqlText(categoryCode);
        const QString g
            = QString::number(services::checkedWholeNumber(group, QStringLiteral("表组")));
        db::TransactionGuard tx(conn);
        conn.Execute(QStringLiteral("delete from hr_sys_CategoriesMember where cid='") + cid
                     + QStringLiteral("' and itablegroup=") + g);
        for (const QString &code : setCodes)
            conn.Execute(
                QStringLiteral("insert hr_sys_CategoriesMember( cid,ctablecode,itablegroup) "
                               "values('")
                + cid + QStringLiteral("', '") + services::sqlText(code) + QStringLiteral("' ,'")
                + g + QStringLiteral("')"));
        tx.Commit();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace vorlane::business
