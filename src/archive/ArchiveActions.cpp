#include "ArchiveActions.h"

#include "entry/Defs.h"
#include "entry/mdlFunction.h"
#include "model/clsHrCTs.h"
#include "model/clsHrSysItemDicts.h"
#include "services/Sql.h"
#include "services/clsHrCTsFace.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"

#include <QList>
#include <QPair>

namespace vorlane::archive {

using services::checkedIdentifier;
using services::likePrefixText;
using services::sqlText;

namespace {

const QString Deleted = QStringLiteral("删除成功！");
const QString DeleteFailed = QStringLiteral("删除失败！");

db::Connection &conn()
{
    return Defs::instance().conn();
}

QString table(const QString &tableCode)
{
    return checkedIdentifier(tableCode, QStringLiteral("档案表名"));
}

// First field of the first row, null-safe; an invalid QVariant when there is no row.
QVariant firstValue(const QString &sql)
{
    db::RecordsetPtr rs = conn().OpenRecordset(sql);
    QVariant value;
    if (!rs->Eof())
        value = NullSafeValue(rs->FieldValue(0), rs->FieldType(0));
    rs->Close();
    return value;
}

// A flag that reads as the number 0, whether stored as a number or as a one-character text.
bool isZero(const QVariant &value)
{
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    return ok && number == 0;
}

template<class Body>
ActionResult guarded(Body &&body)
{
    try {
        return body();
    } catch (const db::DbError &e) {
        return {false, e.message()};
    } catch (const std::exception &e) {
        return {false, QString::fromLocal8Bit(e.what())};
    }
}

} // namespace

bool IsMultiLevelClass(const QString &tableCode)
{
    const QVariant value
        = firstValue(QStringLiteral("select bMultiLevel from hr_sys_setdict where cTableCode='")
                     + sqlText(tableCode) + u'\'');
    bool ok = false;
    return value.toString().trimmed().toDouble(&ok) == 1 && ok;
}

bool IsSystemItem(const QString &tableCode, const QString &code)
{
    return isZero(firstValue(QStringLiteral("select bsysflag from ") + table(tableCode)
                             + QStringLiteral("  where ccodeID='") + sqlText(code) + u'\''));
}

bool IsSystemClass(const QString &tableCode)
{
    return isZero(
        firstValue(QStringLiteral("select bsysflag from hr_sys_setdict where cTableCode='")
                   + sqlText(tableCode) + u'\''));
}

bool IsCodeInUse(const QString &tableCode, const QString &code)
{
    QList<QPair<QString, QString>> columns;
    {
        db::RecordsetPtr rs = conn().OpenRecordset(
            QStringLiteral("select * from hr_sys_itemdict where vReferenceObj='")
            + sqlText(tableCode) + u'\'');
        for (; !rs->Eof(); rs->MoveNext()) {
            const db::Field set = rs->Fields(u"cTableCode");
            const db::Field item = rs->Fields(u"citemCode");
            columns.append({NullSafeValue(set.Value(), set.Type()).toString(),
                            NullSafeValue(item.Value(), item.Type()).toString()});
        }
        rs->Close();
    }
    for (const auto &[set, item] : std::as_const(columns)) {
        const QVariant count
            = firstValue(QStringLiteral("select count(*) from ") + checkedIdentifier(set.trimmed())
                         + QStringLiteral(" where  ") + checkedIdentifier(item.trimmed())
                         + QStringLiteral(" =") + u'\'' + sqlText(code) + u'\'');
        if (count.toLongLong() > 0)
            return true;
    }
    return false;
}

ActionResult
DeleteArchiveItem(const QString &tableCode, const QString &code, int level, const Confirm &confirm)
{
    return guarded([&]() -> ActionResult {
        if (IsSystemItem(tableCode, code))
            return {false, QStringLiteral("系统档案项，不能删除！")};
        if (IsCodeInUse(tableCode, code))
            return {false, QStringLiteral("该档案项在使用中，不能删除！")};
        // The subtree about to go; a table that cannot be read ends the command silently.
        clsHrCTs below;
        if (!below.Load(QStringLiteral("select * from ") + table(tableCode)
                        + QStringLiteral(" where ccodeid like '")
                        + likePrefixText(code)
                        + QStringLiteral("%' and ilevels > ") + QString::number(level)))
            return {};
        if (!confirm(QStringLiteral("请确认要删除该档案项！")))
            return {};
        db::TransactionGuard transaction(conn());
        if (!clsHrCTsFace().Delete(tableCode, code))
            return {false, DeleteFailed};
        transaction.Commit();
        return {true, Deleted, true};
    });
}

ActionResult DeleteArchiveClass(const QString &tableCode, const Confirm &confirm)
{
    return guarded([&]() -> ActionResult {
        if (IsSystemClass(tableCode))
            return {false, QStringLiteral("系统档案类，不能删除！")};
        clsHrSysItemDicts referring;
        if (!referring.Load(QStringLiteral("select * from hr_sys_ItemDict where vReferenceObj='")
                            + sqlText(tableCode) + u'\''))
            return {};
        if (!confirm(QStringLiteral("请确认要删除该档案类！")))
            return {};
        clsHrSysSetDictsFace sets;
        db::TransactionGuard transaction(conn());
        if (referring.Count() > 0) {
            if (!sets.ModifyDelFlag(tableCode))
                return {false, DeleteFailed};
            transaction.Commit();
            return {true, QStringLiteral("该档案类被引用，已打上删除标志！"), false};
        }
        if (!clsHrSysItemDictsFace().Delete(tableCode) || !sets.Delete(tableCode)
            || !sets.DropTable(tableCode))
            return {false, DeleteFailed};
        transaction.Commit();
        return {true, Deleted, true};
    });
}

} // namespace vorlane::archive
