#include "ArchiveItemRules.h"

#include "ArchiveBrowser.h"
#include "ArchiveQueries.h"

#include "entry/mdlFunction.h"
#include "model/clsHrCTs.h"

namespace vorlane {

using archive::connection;
using archive::hasRows;
using archive::quoted;
using archive::tableName;

std::optional<clsHrCT> LoadArchiveCode(const QString &tableCode, const QString &code)
{
    try {
        clsHrCTs codes;
        codes.Load(QStringLiteral("select * from ") + tableName(tableCode)
                   + QStringLiteral(" where ccodeid=") + quoted(code));
        if (codes.Count() == 1)
            return *codes.Item(1);
    } catch (const std::exception &) {
        // Not a code table name: nothing to load.
    }
    return std::nullopt;
}

ArchiveEditResult CheckArchiveItemInput(const ArchiveItemInput &input)
{
    const auto refuse = [](const char16_t *message, const char16_t *box) {
        return ArchiveEditResult::failure(QString::fromUtf16(message), QString::fromUtf16(box));
    };
    if (input.code.size() > 30)
        return refuse(u"档案编码太长，请重新输入", u"txtCode");
    if (input.code.trimmed().isEmpty())
        return refuse(u"档案编码不能为空，请输入...", u"txtCode");
    if (input.name.trimmed().isEmpty())
        return refuse(u"档案名称不能为空，请输入...", u"txtName");
    if (AnsiByteLength(input.name) > 60)
        return refuse(u"输入内容太长，请重新输入...", u"txtName");
    if (AnsiByteLength(input.spell) > 60)
        return refuse(u"输入简拼内容太长，请重新输入...", u"txtSpell");
    if (AnsiByteLength(input.shortName) > 100)
        return refuse(u"输入档案简称太长，请重新输入...", u"txtDescription");
    if (AnsiByteLength(input.memo) > 100)
        return refuse(u"输入备注内容太长，请重新输入...", u"txtMemo");
    return ArchiveEditResult::success();
}

ArchiveEditResult CheckArchiveItemName(const QString &tableCode, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return ArchiveEditResult::failure(QStringLiteral("档案项名称不能为空"),
                                          QStringLiteral("txtName"));
    if (hasRows(QStringLiteral("select * from ") + tableName(tableCode)
                + QStringLiteral(" where vdescription=") + quoted(trimmed)))
        return ArchiveEditResult::failure(QStringLiteral("档案名称不唯一，请重新输入..."),
                                          QStringLiteral("txtName"));
    return ArchiveEditResult::success();
}

ArchiveEditResult CheckCodeDigits(const QString &code)
{
    if (!IsNumericText(code, false, false))
        return ArchiveEditResult::failure(QStringLiteral("档案编码只能由数字组成，请重新输入"),
                                          QStringLiteral("txtCode"));
    return ArchiveEditResult::success();
}

ArchiveEditResult CheckParentPrefix(const QString &parentCode, const QString &code)
{
    if (code.size() > parentCode.size() && code.startsWith(parentCode))
        return ArchiveEditResult::success();
    return ArchiveEditResult::failure(
        QStringLiteral("代码编号不规范，请输入代码前") + QString::number(parentCode.size())
            + QStringLiteral("位为") + parentCode + QStringLiteral("的编码"),
        QStringLiteral("txtCode"));
}

ArchiveEditResult CheckSiblingLength(const QString &sibling, const QString &code)
{
    if (sibling.isEmpty() || sibling.size() == code.size())
        return ArchiveEditResult::success();
    return ArchiveEditResult::failure(QStringLiteral("档案编号不规范，编码长度应该为")
                                          + QString::number(sibling.size()) + QStringLiteral("位"),
                                      QStringLiteral("txtCode"));
}

ArchiveEditResult CheckCodeUnique(const QString &tableCode, const QString &code)
{
    if (hasRows(QStringLiteral("select * from ") + tableName(tableCode)
                + QStringLiteral(" where ccodeid=") + quoted(code)))
        return ArchiveEditResult::failure(QStringLiteral("档案编码不唯一，请重新输入..."),
                                          QStringLiteral("txtCode"));
    return ArchiveEditResult::success();
}

QString SiblingCode(const ArchiveItemParent &parent, const ArchiveBrowser *browser)
{
    if (browser && browser->hasTreeNode(parent.parentNodeKey)) {
        const QString child = browser->firstChildKey(parent.parentNodeKey);
        if (!child.isEmpty())
            return KeyMiddleSegment(child);
    }
    // One code under the parent is enough: all of them have the same length.
    const QString where = parent.parentCode.isEmpty()
                              ? QStringLiteral(" where ilevels=0")
                              : QStringLiteral(" where cpCodeID=") + quoted(parent.parentCode);
    db::RecordsetPtr rs = connection().OpenRecordset(QStringLiteral("select top 1 ccodeID from ")
                                                     + tableName(parent.tableCode) + where);
    const QString sibling
        = rs->Eof() ? QString() : NullSafeValue(rs->FieldValue(0), rs->FieldType(0)).toString();
    rs->Close();
    return sibling;
}

int NewCodeLevel(const ArchiveItemParent &parent)
{
    return parent.parentCode.isEmpty() ? 0 : parent.parentLevel + 1;
}

QString CodeKeyPart(const QString &tableCode, const QString &code, int level)
{
    return tableCode + u'^' + code + u'^' + QString::number(level);
}

} // namespace vorlane
