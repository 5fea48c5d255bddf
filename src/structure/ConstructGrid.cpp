#include "ConstructGrid.h"

#include "ConstructTree.h"

#include "model/clsHrSysItemDicts.h"
#include "services/Sql.h"

#include <QHash>

namespace vorlane {

namespace {

using Labels = QHash<QString, QString>;

// "1" -> "1-用户": a known value gets its label, anything else stays as stored (or empty).
QString labelled(const QString &value, const Labels &labels, bool unknownAsStored = true)
{
    const auto found = labels.constFind(value);
    if (found != labels.constEnd())
        return value + u'-' + found.value();
    return unknownAsStored ? value : QString();
}

QString labelled(int value, const Labels &labels, bool unknownAsStored = true)
{
    return labelled(QString::number(value), labels, unknownAsStored);
}

const Labels &cycleLabels()
{
    static const Labels l{{QStringLiteral("1"), QStringLiteral("按年")},
                          {QStringLiteral("2"), QStringLiteral("按季度")},
                          {QStringLiteral("3"), QStringLiteral("按月")}};
    return l;
}
const Labels &businessLabels()
{
    static const Labels l{{QStringLiteral("4"), QStringLiteral("全部")},
                          {QStringLiteral("1"), QStringLiteral("政府机关")},
                          {QStringLiteral("2"), QStringLiteral("企业")}};
    return l;
}
const Labels &systemUserLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("系统")},
                          {QStringLiteral("1"), QStringLiteral("用户")}};
    return l;
}
const Labels &childLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("没有")},
                          {QStringLiteral("1"), QStringLiteral("有")}};
    return l;
}
const Labels &deletedLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("未删除")},
                          {QStringLiteral("1"), QStringLiteral("已删除")}};
    return l;
}
const Labels &displayLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("隐藏")},
                          {QStringLiteral("1"), QStringLiteral("显示")}};
    return l;
}
const Labels &lastLevelLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("录入任意层")},
                          {QStringLiteral("1"), QStringLiteral("录入最底层")}};
    return l;
}
const Labels &requiredLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("不是必录")},
                          {QStringLiteral("1"), QStringLiteral("必录")}};
    return l;
}
const Labels &nullableLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("能")},
                          {QStringLiteral("1"), QStringLiteral("不能")}};
    return l;
}
const Labels &builtInLabels()
{
    static const Labels l{{QStringLiteral("0"), QStringLiteral("不是")},
                          {QStringLiteral("1"), QStringLiteral("是")}};
    return l;
}

ConstructGridContent layout(const QStringList &titles, const QList<int> &hiddenWhenOne, int optFlag)
{
    ConstructGridContent content;
    content.titles = titles;
    const int hiddenWidth = optFlag == 1   ? 0
                            : optFlag == 0 ? ConstructGridContent::DefaultColumnWidth
                                           : -1;
    for (int c = 0; c < titles.size(); ++c) {
        if (c == 0)
            content.widths << ConstructGridContent::NumberColumnWidth;
        else if (hiddenWhenOne.contains(c))
            content.widths << hiddenWidth;
        else
            content.widths << ConstructGridContent::DefaultColumnWidth;
    }
    return content;
}

} // namespace

ConstructGridContent SetListLayout(int optFlag)
{
    return layout({QStringLiteral("序号"),
                   QStringLiteral("信息集代码"),
                   QStringLiteral("信息集名称"),
                   QStringLiteral("应用表描述"),
                   QStringLiteral("应用表类型"),
                   QStringLiteral("周期性变更类型"),
                   QStringLiteral("适用行业"),
                   QStringLiteral("适用功能范围"),
                   QStringLiteral("用户自定义标志"),
                   QStringLiteral("父表名称"),
                   QStringLiteral("有子表标志"),
                   QStringLiteral("删除标志"),
                   QStringLiteral("显示顺序"),
                   QStringLiteral("参照显示信息"),
                   QStringLiteral("主键"),
                   QStringLiteral("是否显示"),
                   QStringLiteral("备注")},
                  {4, 5, 6, 7},
                  optFlag);
}

ConstructGridContent ItemListLayout(int optFlag)
{
    return layout({QStringLiteral("序号"),
                   QStringLiteral("应用表"),
                   QStringLiteral("信息项代码"),
                   QStringLiteral("信息项名称"),
                   QStringLiteral("描述"),
                   QStringLiteral("数据类型"),
                   QStringLiteral("参照对象"),
                   QStringLiteral("是否录入最底层"),
                   QStringLiteral("数据长度"),
                   QStringLiteral("小数长度"),
                   QStringLiteral("是否自定义"),
                   QStringLiteral("是否必录"),
                   QStringLiteral("能否为空"),
                   QStringLiteral("默认值"),
                   QStringLiteral("数据格式"),
                   QStringLiteral("是否已删除"),
                   QStringLiteral("显示顺序"),
                   QStringLiteral("适用行业"),
                   QStringLiteral("是否为系统内置字段"),
                   QStringLiteral("是否显示"),
                   QStringLiteral("备注")},
                  {1, 17, 18},
                  optFlag);
}

QStringList SetRowTexts(int number, const clsHrSysSetDict &set, const clsHrSystGroups &groups)
{
    QString group;
    if (groups.Exists(set.TableGroup())) {
        const auto record = groups.Item(set.TableGroup());
        group = record->TableGroup() + u'-' + record->description();
    }
    return {QString::number(number),
            set.TableCode(),
            set.TableName(),
            set.description(),
            group,
            labelled(set.CycleType(), cycleLabels(), false),
            labelled(set.BusinessFlag(), businessLabels()),
            set.FunctionFlag(),
            labelled(set.sFlag(), systemUserLabels()),
            set.ParentTable(),
            labelled(set.cFlag(), childLabels()),
            labelled(set.dFlag(), deletedLabels()),
            set.ShowOrder(),
            set.DisplayItem(),
            set.MainKey(),
            labelled(set.Display(), displayLabels(), false),
            set.Memo()};
}

QStringList ItemRowTexts(int number,
                         const clsHrSysItemDict &item,
                         const clsHrSysDataTypes &dataTypes,
                         const clsHrSysSetDicts &referenceSets)
{
    QString dataType;
    bool numeric = false;
    const int typeId = item.itemtype().trimmed().toInt(&numeric);
    if (numeric) {
        for (const auto &type : dataTypes) {
            if (type->Id() == typeId) {
                dataType = QString::number(type->Id()) + u'-' + type->description();
                break;
            }
        }
    }
    QString reference;
    if (!item.ReferenceObj().isEmpty() && referenceSets.Exists(item.ReferenceObj())) {
        const auto set = referenceSets.Item(item.ReferenceObj());
        reference = set->TableCode() + u'-' + set->TableName();
    }
    return {QString::number(number),
            item.TableCode(),
            item.ItemCode(),
            item.itemname(),
            item.description(),
            dataType,
            reference,
            labelled(item.LastLevelFalg(), lastLevelLabels()),
            item.itemlen(),
            item.itemdec(),
            labelled(item.sFlag(), systemUserLabels()),
            labelled(item.rflag(), requiredLabels()),
            labelled(item.nflag(), nullableLabels()),
            item.sdefault(),
            item.sformat(),
            labelled(item.dFlag(), deletedLabels()),
            QString::number(item.ShowOrder()),
            labelled(item.BusinessFlag(), businessLabels()),
            labelled(item.DefaultField(), builtInLabels()),
            labelled(item.Display(), displayLabels(), false),
            item.Memo()};
}

ConstructGridContent GroupSetList(const QString &groupCode, const ConstructData &data, int optFlag)
{
    ConstructGridContent content = SetListLayout(optFlag);
    clsHrSysSetDicts sets;
    if (!sets.Load(u"select * from hr_sys_setdict where itablegroup='"
                   + services::sqlText(groupCode) + u"' order by bsysflag, ishowOrder"))
        return content;
    int number = 0;
    for (const auto &set : sets)
        content.rows.append(SetRowTexts(++number, *set, data.groups));
    return content;
}

ConstructGridContent SetItemList(const QString &setCode, const ConstructData &data, int optFlag)
{
    ConstructGridContent content = ItemListLayout(optFlag);
    clsHrSysItemDicts items;
    if (!items.Load(u"select * from hr_sys_itemdict where ctablecode='" + services::sqlText(setCode)
                    + u"' order  by bsysflag, ishowOrder"))
        return content;
    if (optFlag != 0 && optFlag != 1)
        return content;
    content.rows.reserve(items.Count());
    int number = 0;
    for (const auto &item : items) {
        if (optFlag == 1 && item->DefaultField() != 0)
            continue;
        content.rows.append(ItemRowTexts(++number, *item, data.dataTypes, data.referenceSets));
    }
    return content;
}

} // namespace vorlane
