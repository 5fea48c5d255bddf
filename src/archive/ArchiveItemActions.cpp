#include "ArchiveItemActions.h"

#include "ArchiveClassActions.h"
#include "ArchiveQueries.h"

#include "services/clsHrCTsFace.h"

namespace vorlane {

using archive::connection;
using archive::quoted;
using archive::tableName;

ArchiveEditResult AddArchiveItem(const ArchiveItemParent &parent,
                                 const clsHrSysSetDict &archiveClass,
                                 const ArchiveItemInput &input,
                                 const ArchiveBrowser *browser,
                                 qint16 optFlag)
{
    const QString code = input.code.trimmed();
    try {
        // Stops at the first refusal.
        ArchiveEditResult r = CheckArchiveItemInput(input);
        if (r.ok)
            r = CheckArchiveItemName(parent.tableCode, input.name);
        if (r.ok)
            r = CheckCodeDigits(code);
        if (r.ok)
            r = CheckParentPrefix(parent.parentCode, code);
        if (r.ok)
            r = CheckSiblingLength(SiblingCode(parent, browser), code);
        if (r.ok)
            r = CheckCodeUnique(parent.tableCode, code);
        if (!r.ok)
            return r;
    } catch (const std::exception &) {
        return ArchiveEditResult::failure(QStringLiteral("添加失败"));
    }

    clsHrCT record;
    record.setCodeId(code);
    record.setDescription(input.name.trimmed());
    record.setSimpleName(input.shortName.trimmed().isEmpty() ? input.name.trimmed()
                                                             : input.shortName.trimmed());
    record.setSimpleSpell(input.spell.trimmed());
    record.setLevels(NewCodeLevel(parent));
    record.setPCodeId(parent.parentCode);
    record.setSFlag(optFlag == 0 ? archiveClass.sFlag() : QStringLiteral("1"));
    record.setCFlag(QStringLiteral("0"));
    record.setHideFlag(QString::number(input.hide));
    record.setMemo(input.memo.trimmed());

    try {
        // Leaving the scope without a commit takes back the code and the parent's flag together.
        db::TransactionGuard transaction(connection());
        if (!clsHrCTsFace().Add(record, parent.tableCode))
            return ArchiveEditResult::failure(QStringLiteral("添加失败"));
        if (FlagValue(archiveClass.MultiLevel()) == 1) {
            try {
                connection().Execute(QStringLiteral("update ") + tableName(parent.tableCode)
                                     + QStringLiteral(" set bChildFlag=1 where ccodeID=")
                                     + quoted(parent.parentCode));
            } catch (const std::exception &) {
                return ArchiveEditResult::failure(QStringLiteral("更新上级代码的分级标志失败！"));
            }
        }
        transaction.Commit();
        return ArchiveEditResult::success(QStringLiteral("添加成功"));
    } catch (const std::exception &) {
        return ArchiveEditResult::failure(QStringLiteral("添加失败"));
    }
}

ArchiveEditResult CheckArchiveItemModify(const QString &tableCode,
                                         const clsHrCT &loaded,
                                         const ArchiveItemInput &input)
{
    if (input.name.trimmed() != loaded.description()) {
        try {
            if (ArchiveEditResult r = CheckArchiveItemName(tableCode, input.name); !r.ok)
                return r;
        } catch (const std::exception &) {
            return ArchiveEditResult::failure(QStringLiteral("修改失败"));
        }
    }
    return CheckArchiveItemInput(input);
}

ArchiveEditResult
ModifyArchiveItem(const QString &tableCode, const clsHrCT &loaded, const ArchiveItemInput &input)
{
    clsHrCT record;
    record.setCodeId(input.code.trimmed());
    record.setDescription(input.name.trimmed());
    record.setHideFlag(QString::number(input.hide));
    record.setSFlag(loaded.sFlag());
    record.setCFlag(loaded.cFlag());
    record.setSimpleName(input.shortName.trimmed());
    record.setSimpleSpell(input.spell.trimmed());
    record.setMemo(input.memo.trimmed());
    try {
        db::TransactionGuard transaction(connection());
        if (!clsHrCTsFace().Modify(record, tableCode))
            return ArchiveEditResult::failure(QStringLiteral("修改失败"));
        transaction.Commit();
        return ArchiveEditResult::success(QStringLiteral("修改成功"));
    } catch (const std::exception &) {
        return ArchiveEditResult::failure(QStringLiteral("修改失败"));
    }
}

} // namespace vorlane
