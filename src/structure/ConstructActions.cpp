#include "ConstructActions.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/Defs.h"
#include "entry/mdlFunction.h"
#include "services/ColumnStatements.h"
#include "services/Sql.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"

namespace vorlane {

namespace {

const QString DeleteFailed = QStringLiteral("删除失败");
const QString Deleted = QStringLiteral("删除成功");
const QString Flagged = QStringLiteral("被引用已打上删除标志");

db::Connection &conn()
{
    return Defs::instance().conn();
}

// First field of the first row as a number; 0 without a row or for NULL.
long long countOf(const QString &sql)
{
    auto rs = conn().OpenRecordset(sql);
    long long count = 0;
    if (!rs->Eof() && !rs->FieldIsNull(0))
        count = rs->FieldValue(0).toLongLong();
    rs->Close();
    return count;
}

} // namespace

bool ConstructActions::IsSystemSet(const QString &setCode)
{
    auto rs = conn().OpenRecordset(u"select bsysflag from hr_sys_setdict where cTableCode='"
                                   + services::sqlText(setCode) + u'\'');
    int flag = 0;
    if (!rs->Eof())
        flag = NullSafeValue(rs->FieldValue(0), 3).toInt();
    rs->Close();
    return flag == 0;
}

QString ConstructActions::ItemDeleteRefusal(const QString &tableCode,
                                            const QString &itemCode,
                                            const QString &customLabel)
{
    if (CodePart(customLabel) == u"0")
        return QStringLiteral("系统提供信息项不能删除");
    const QString table = services::sqlText(tableCode);
    const QString item = services::sqlText(itemCode);
    if (countOf(u"select count(*) from voucheritems where tablename='" + table
                + u"' and fieldname='" + item + u'\'')
        != 0)
        return QStringLiteral("信息项已被单据引用，不能删除！");
    if (countOf(u"select count(*) from AA_ColumnAuth where ckey='" + table + u"' and cfld='" + item
                + u'\'')
        != 0)
        return QStringLiteral("信息项已被授权，不能删除！");
    return {};
}

DeleteResult ConstructActions::DeleteItem(const QString &tableCode, const QString &itemCode)
{
    const QString table = services::checkedIdentifier(tableCode, QStringLiteral("表名"));
    const QString item = services::checkedIdentifier(itemCode, QStringLiteral("列名"));

    // The data check runs in the delete's transaction, so that what it found still holds when the
    // column goes, whatever other operators do meanwhile.
    db::TransactionGuard transaction(conn());
    bool holdsData = false;
    {
        auto rs = conn().OpenRecordset(u"select  " + item + u"  from " + table);
        for (; !rs->Eof() && !holdsData; rs->MoveNext()) {
            holdsData = !rs->FieldIsNull(0) && !rs->FieldValue(0).toString().trimmed().isEmpty();
        }
        rs->Close();
    }

    clsHrSysItemDictsFace items;
    if (holdsData) {
        if (!items.ModifyDelFlag(tableCode, itemCode)) {
            transaction.Rollback();
            return {false, false, DeleteFailed};
        }
        transaction.Commit();
        return {true, false, Flagged};
    }
    if (!items.DeleteTableField(ColumnStatements::DropStatement(table, item))
        || !items.DeleteItem(tableCode, itemCode)) {
        transaction.Rollback();
        return {false, false, DeleteFailed};
    }
    transaction.Commit();
    return {true, true, Deleted};
}

QString ConstructActions::SetDeleteRefusal(const QString &setCode)
{
    if (IsSystemSet(setCode))
        return QStringLiteral("系统提供信息集不能删除");
    const QString code = services::sqlText(setCode);
    if (countOf(u"select count(*) from voucheritems where tablename='" + code + u'\'') != 0
        || countOf(u"select count(*) from aa_authclass where cbusobid='" + code + u'\'') != 0)
        return QStringLiteral("信息集已被授权或被单据引用，不能删除！");
    return {};
}

DeleteResult ConstructActions::DeleteSet(const QString &setCode)
{
    const QString table = services::checkedIdentifier(setCode, QStringLiteral("表名"));
    // The data check runs in the delete's transaction: on a server its read holds the table, so
    // that an operator adding items meanwhile either finishes first (and its item rows are
    // deleted too) or finds the table gone; none of its rows outlive the table.
    db::TransactionGuard transaction(conn());
    const bool holdsData = countOf(u"select count(*) from " + table) > 0;

    clsHrSysSetDictsFace sets;
    if (holdsData) {
        if (!sets.ModifyDelFlag(setCode)) {
            transaction.Rollback();
            return {false, false, DeleteFailed};
        }
        transaction.Commit();
        return {true, false, Flagged};
    }
    clsHrSysItemDictsFace items;
    bool ok = items.Delete(setCode) && sets.Delete(setCode);
    if (ok) {
        // DropTable lets database errors through; inside the transaction they are a failure too.
        try {
            ok = sets.DropTable(setCode);
        } catch (const db::DbError &) {
            ok = false;
        }
    }
    if (!ok) {
        transaction.Rollback();
        return {false, false, DeleteFailed};
    }
    transaction.Commit();
    return {true, true, Deleted};
}

} // namespace vorlane
