#include "ConstructTree.h"

#include "entry/Defs.h"
#include "entry/mdlFunction.h"
#include "services/Sql.h"

#include "db/Recordset.h"
#include "model/FieldReader.h"

namespace vorlane {

namespace ConstructKeys {

QString groupKey(const QString &groupCode)
{
    return u'R' + groupCode;
}

QString setKey(const QString &groupNodeKey, const QString &setCode, const QString &parentTable)
{
    return u'C' + groupNodeKey + u'^' + setCode.toUpper() + u'^' + parentTable.toUpper();
}

bool isGroupKey(const QString &key)
{
    return key.startsWith(u'R');
}

bool isSetKey(const QString &key)
{
    return key.startsWith(u'C');
}

QString groupCode(const QString &groupNodeKey)
{
    return groupNodeKey.mid(1);
}

QString setCode(const QString &setNodeKey)
{
    return KeyMiddleSegment(setNodeKey);
}

} // namespace ConstructKeys

void ConstructData::loadCollections()
{
    dataTypes.Load(QStringLiteral("select * from hr_sys_datatype"));
    referenceSets.Load(QStringLiteral("select * from hr_sys_setdict where itableclass in (2,3,6)"));
    groups.Load(QStringLiteral("select * from hr_sys_tgroup "));
}

void ConstructData::loadReservedTables()
{
    reservedTables.clear();
    auto rs = Defs::instance().conn().OpenRecordset(QStringLiteral("select * from hr_bd_utable"));
    const int code = rs->FieldIndex(u"cTableCode");
    const int memo = rs->FieldIndex(u"sMemo");
    for (; !rs->Eof(); rs->MoveNext()) {
        reservedTables.append(
            {NullSafeValue(rs->FieldValue(code), 0).toString(),
             memo < 0 ? QString() : NullSafeValue(rs->FieldValue(memo), 0).toString()});
    }
    rs->Close();
}

bool ConstructData::isReserved(const QString &setCode) const
{
    const QString upper = setCode.toUpper();
    for (const auto &table : reservedTables) {
        if (table.first.toUpper() == upper)
            return true;
    }
    return false;
}

void ConstructData::clear()
{
    groups.Clear();
    dataTypes.Clear();
    referenceSets.Clear();
    reservedTables.clear();
}

QList<ConstructNode> ConstructTreeNodes(const clsHrSystGroups &groups)
{
    QList<ConstructNode> nodes;
    db::Connection &conn = Defs::instance().conn();
    for (const auto &group : groups) {
        const QString groupKey = ConstructKeys::groupKey(group->TableGroup());
        nodes.append({QString(), groupKey, group->description(), QString(), 1, 1});
        // The tree needs four fields of each set: they are read as the set records read them,
        // without building whole records (a thousand sets are read twice at start-up). A group
        // whose sets cannot all be read gets none, as a failed collection load would leave it.
        QList<ConstructNode> sets;
        try {
            auto rs = conn.OpenRecordset(u"select * from hr_sys_setdict where itablegroup= '"
                                         + services::sqlText(group->TableGroup())
                                         + u"' order by bsysflag, ishoworder");
            for (; !rs->Eof(); rs->MoveNext()) {
                FieldReader f(*rs);
                const QString code = f.readText(u"ctablecode");
                const QString name = f.readText(u"vTableName");
                const QString flag = f.readText(u"bsysFlag");
                const QString parent = f.readText(u"vParentTable");
                sets.append(
                    {groupKey, ConstructKeys::setKey(groupKey, code, parent), name, flag, 2, 3});
            }
            rs->Close();
        } catch (const std::exception &) {
            continue;
        }
        nodes.append(sets);
    }
    return nodes;
}

} // namespace vorlane
