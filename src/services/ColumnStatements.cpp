#include "ColumnStatements.h"

#include "Sql.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDict.h"

#include <QRegularExpression>

namespace vorlane {

using services::checkedIdentifier;
using services::checkedWholeNumber;
using services::SqlInputError;

namespace {

const QString itemCodeWhat = QStringLiteral("信息项编码");
const QString tableCodeWhat = QStringLiteral("信息集编码");

// Fact types come from hr_sys_datatype, yet they end up in a statement all the same: a type
// name, optionally with an argument list of numbers or max in parentheses, blanks allowed
// ("numeric (18,2)", "nvarchar(max)").
QString checkedFactType(const QString &factType)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*( +[A-Za-z_][A-Za-z0-9_]*)* *"
                       "(\\( *(\\d+|max) *(, *(\\d+|max) *)*\\))?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (!pattern.match(factType).hasMatch()) {
        throw SqlInputError(QStringLiteral("数据类型“") + factType
                            + QStringLiteral("”不是可用的字段类型"));
    }
    return factType;
}

QString lengthText(const QString &length)
{
    return QString::number(checkedWholeNumber(length, QStringLiteral("长度")));
}

QString decimalsText(const QString &decimals)
{
    return QString::number(checkedWholeNumber(decimals, QStringLiteral("小数位数")));
}

// The definition shared by add and alter; null means the type cannot be altered.
QString definition(const QString &itemCode,
                   const QString &dataTypeId,
                   const QString &factType,
                   const QString &length,
                   const QString &decimals)
{
    const QString column = checkedIdentifier(itemCode, itemCodeWhat);
    const QString type = checkedFactType(factType);
    const QString id = dataTypeId.trimmed();
    if (id == u"1" || id == u"2")
        return column + u' ' + type + u'(' + lengthText(length) + u')';
    if (id == u"4") {
        const qsizetype paren = type.indexOf(u'(');
        const QString base = paren >= 0 ? type.left(paren) : type;
        return column + u' ' + base + u'(' + lengthText(length) + u',' + decimalsText(decimals)
               + u')';
    }
    return QString();
}

} // namespace

QString ColumnStatements::FactTypeOf(const QString &dataTypeId, const clsHrSysDataTypes &dataTypes)
{
    const QString wanted = dataTypeId.trimmed();
    for (const auto &type : dataTypes) {
        if (QString::number(type->Id()).trimmed() == wanted)
            return type->FactType().trimmed();
    }
    return QString();
}

bool ColumnStatements::TakesLength(const QString &dataTypeId)
{
    const QString id = dataTypeId.trimmed();
    return id == u"1" || id == u"2" || id == u"4";
}

bool ColumnStatements::TakesDecimals(const QString &dataTypeId)
{
    return dataTypeId.trimmed() == u"4";
}

QString ColumnStatements::AddDefinition(const QString &itemCode,
                                        const QString &dataTypeId,
                                        const QString &factType,
                                        const QString &length,
                                        const QString &decimals)
{
    if (TakesLength(dataTypeId))
        return definition(itemCode, dataTypeId, factType, length, decimals)
               + QStringLiteral("  null ");
    return checkedIdentifier(itemCode, itemCodeWhat) + u' ' + checkedFactType(factType)
           + QStringLiteral("  null ");
}

QString ColumnStatements::AlterDefinition(const QString &itemCode,
                                          const QString &dataTypeId,
                                          const QString &factType,
                                          const QString &length,
                                          const QString &decimals)
{
    if (!TakesLength(dataTypeId))
        return QString();
    return definition(itemCode, dataTypeId, factType, length, decimals);
}

QString ColumnStatements::AddStatement(const QString &tableCode, const QStringList &definitions)
{
    const QString table = checkedIdentifier(tableCode, tableCodeWhat);
    if (definitions.isEmpty())
        return QString();
    return QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD ")
           + definitions.join(u',');
}

QString ColumnStatements::AlterStatement(const QString &tableCode, const QString &definition)
{
    const QString table = checkedIdentifier(tableCode, tableCodeWhat);
    if (definition.isEmpty())
        return QString();
    return QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ALTER COLUMN ") + definition;
}

QString ColumnStatements::DropStatement(const QString &tableCode, const QString &itemCode)
{
    return QStringLiteral("ALTER TABLE ") + checkedIdentifier(tableCode, tableCodeWhat)
           + QStringLiteral(" DROP COLUMN ") + checkedIdentifier(itemCode, itemCodeWhat);
}

namespace {

QString knownFactType(const clsHrSysItemDict &item, const clsHrSysDataTypes &dataTypes)
{
    const QString factType = ColumnStatements::FactTypeOf(item.itemtype(), dataTypes);
    if (factType.isEmpty()) {
        throw SqlInputError(QStringLiteral("信息项“") + item.ItemCode()
                            + QStringLiteral("”的数据类型“") + item.itemtype()
                            + QStringLiteral("”不存在"));
    }
    return factType;
}

} // namespace

QString ColumnStatements::AddDefinition(const clsHrSysItemDict &item,
                                        const clsHrSysDataTypes &dataTypes)
{
    return AddDefinition(item.ItemCode(),
                         item.itemtype(),
                         knownFactType(item, dataTypes),
                         item.itemlen(),
                         item.itemdec());
}

QString ColumnStatements::AddStatement(const QString &tableCode,
                                       const QList<const clsHrSysItemDict *> &items,
                                       const clsHrSysDataTypes &dataTypes)
{
    QStringList definitions;
    definitions.reserve(items.size());
    for (const clsHrSysItemDict *item : items)
        definitions << AddDefinition(*item, dataTypes);
    return AddStatement(tableCode, definitions);
}

QString ColumnStatements::AlterStatement(const clsHrSysItemDict &item,
                                         const clsHrSysDataTypes &dataTypes)
{
    if (!TakesLength(item.itemtype())) {
        checkedIdentifier(item.TableCode(), tableCodeWhat);
        return QString();
    }
    return AlterStatement(item.TableCode(),
                          AlterDefinition(item.ItemCode(),
                                          item.itemtype(),
                                          knownFactType(item, dataTypes),
                                          item.itemlen(),
                                          item.itemdec()));
}

QString ColumnStatements::DropStatement(const clsHrSysItemDict &item)
{
    return DropStatement(item.TableCode(), item.ItemCode());
}

} // namespace vorlane
