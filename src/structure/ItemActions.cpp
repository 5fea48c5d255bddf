#include "ItemActions.h"

#include "ConstructBrowser.h"

#include "db/Connection.h"
#include "entry/Defs.h"
#include "entry/mdlFunction.h"
#include "model/clsHrSysItemDicts.h"
#include "services/ColumnStatements.h"
#include "services/Sql.h"
#include "services/clsHrSysItemDictsFace.h"

#include <vector>

namespace vorlane {

using services::sqlText;

namespace {

const QString voucherNote = QStringLiteral("如果单据模板用到该信息项，请重新创建该单据模板！");

db::Connection &conn()
{
    return Defs::instance().conn();
}

QString quoted(const QString &value)
{
    return u'\'' + sqlText(value) + u'\'';
}

// Whether the set's items already use a code or a name (column citemCode or vitemName).
bool dictionaryHas(const QString &column, const QString &value, const QString &tableCode)
{
    clsHrSysItemDicts items;
    items.Load(QStringLiteral("select * from Hr_sys_itemdict where ") + column + QStringLiteral("=")
               + quoted(value) + QStringLiteral(" and ctablecode=") + quoted(tableCode));
    return items.Count() > 0;
}

bool codeTaken(const QString &code, const QString &tableCode)
{
    return dictionaryHas(QStringLiteral("citemCode"), code, tableCode);
}

bool nameTaken(const QString &name, const QString &tableCode)
{
    return dictionaryHas(QStringLiteral("vitemName"), name, tableCode);
}

RuleResult fieldChecks(const ItemInput &input)
{
    if (RuleResult r = ItemRules::codeFieldCheck(input.code))
        return r;
    // The code box lets nothing else through; a code from elsewhere must be a column name too.
    if (!services::isIdentifier(input.code.trimmed()))
        return RuleFailure{QStringLiteral("含有非法字符，请重新输入！"), ItemField::ItemCode};
    return ItemRules::nameFieldCheck(input.name);
}

int browserRows()
{
    const ConstructBrowser *browser = ConstructBrowser::open();
    return browser ? browser->gridRows() : 1;
}

// After a save: the browser's grid again at its row, then the message, with the voucher note
// when vouchers are built on the set. The save is done; a failure here changes nothing of it.
QString afterSave(const QString &tableCode, const QString &success)
{
    try {
        if (ConstructBrowser *browser = ConstructBrowser::open())
            browser->UpdateGrid(browser->gridRow());
    } catch (const db::DbError &) {
    }
    try {
        const auto rs = conn().OpenRecordset(
            QStringLiteral("select top 1 * from hr_bd_vouchertable where ctablecode=")
            + quoted(tableCode));
        if (!rs->Eof())
            return success + u'\n' + voucherNote;
    } catch (const db::DbError &) {
    }
    return success;
}

} // namespace

void ItemLists::load(bool withAttendance)
{
    clear();
    m_types.Load(Defs::instance().OptFlag == 1
                     ? QStringLiteral("select * from hr_sys_datatype where id in (1,2,3,4,5,6,9)")
                     : QStringLiteral("select * from hr_sys_datatype where id<>13"));
    m_refSets.Load(withAttendance
                       ? QStringLiteral("select * from hr_sys_setdict where itableclass in (2,3,6) "
                                        "and bdisplay=1 and bdelflag<>1 order by "
                                        "itableclass,ishowOrder")
                       : QStringLiteral("select * from hr_sys_setdict where itableclass in (2,3,6) "
                                        "and bdisplay=1 and bdelflag<>1 and itablegroup<>5 order "
                                        "by itableclass,ishowOrder"));
    m_formats.Load(QStringLiteral("select * from hr_sys_dateformat where id =2"));
}

void ItemLists::clear()
{
    m_types.Clear();
    m_formats.Clear();
    m_refSets.Clear();
}

QStringList ItemLists::typeEntries() const
{
    QStringList entries;
    for (const auto &t : m_types)
        entries << QString::number(t->Id()) + u'-' + t->description();
    return entries;
}

QStringList ItemLists::refEntries() const
{
    QStringList entries{QString()};
    for (const auto &set : m_refSets)
        entries << set->TableName() + u'-' + set->TableCode();
    return entries;
}

QStringList ItemLists::formatEntries() const
{
    QStringList entries{QString()};
    for (const auto &f : m_formats)
        entries << QString::number(f->Id()) + u'-' + f->DateFormat();
    return entries;
}

void ItemCreation::prepare(const QString &tableCode)
{
    m_tableCode = tableCode;
    m_tableName.clear();
    try {
        const auto rs = conn().OpenRecordset(
            QStringLiteral("select vTableName from hr_sys_setdict where ctablecode=")
            + quoted(tableCode));
        if (!rs->Eof())
            m_tableName = NullSafeValue(rs->FieldValue(0), rs->FieldType(0)).toString();
    } catch (const db::DbError &) {
    }
}

void ItemCreation::load()
{
    m_attendance = HasTMFirstDate();
    m_lists.load(m_attendance);
}

ActionResult ItemCreation::checkNew(ItemInput &input, const QList<ItemInput> &pending) const
{
    // Only a code that could be a column name goes on to the queries below.
    if (ActionResult r = checkCorrection(input); !r.ok)
        return r;

    const QString code = input.code.trimmed();
    const QString name = input.name.trimmed();
    for (const ItemInput &entry : pending) {
        if (entry.code == code)
            return {false, QStringLiteral("输入的信息项代码重复！"), ItemField::ItemCode};
    }
    if (codeTaken(code, m_tableCode))
        return {false, QStringLiteral("信息项代码不唯一，请重新输入..."), ItemField::ItemCode};
    bool pendingName = false;
    for (const ItemInput &entry : pending)
        pendingName = pendingName || entry.name == name;
    if (pendingName || nameTaken(name, m_tableCode))
        return {false, QStringLiteral("信息项名称不唯一，请重新输入..."), ItemField::ItemName};
    return {};
}

ActionResult ItemCreation::checkCorrection(ItemInput &input) const
{
    if (RuleResult r = ItemRules::requiredCheck(input))
        return ActionResult::failed(*r);
    if (RuleResult r = fieldChecks(input))
        return ActionResult::failed(*r);
    if (RuleResult r = ItemRules::lengthCheck(input))
        return ActionResult::failed(*r);
    if (RuleResult r = ItemRules::defaultCheck(input))
        return ActionResult::failed(*r);
    return {};
}

QString ItemCreation::defaultShowOrder(int pendingWithNew)
{
    return QString::number(browserRows() + pendingWithNew);
}

ActionResult ItemCreation::commit(const QList<ItemInput> &pending)
{
    const ActionResult failed{false, QStringLiteral("创建失败"), ItemField::None};
    if (pending.isEmpty())
        return {};
    try {
        db::Connection &c = conn();
        db::TransactionGuard transaction(c);
        // The highest display order so far; entries carry their own, so it is only read.
        c.OpenRecordset(QStringLiteral("select max(ishowOrder) as a from hr_sys_itemdict  where "
                                       "cTableCode =")
                        + quoted(m_tableCode))
            ->Close();

        clsHrSysItemDictsFace face;
        std::vector<clsHrSysItemDict> records;
        records.reserve(size_t(pending.size()));
        for (const ItemInput &entry : pending) {
            records.push_back(ItemRules::newItemRecord(entry, m_tableCode));
            if (!face.Add(records.back(), m_tableName, false, m_lists.types()))
                return failed;
        }
        QList<const clsHrSysItemDict *> items;
        for (const clsHrSysItemDict &r : records)
            items << &r;
        const QString add
            = ColumnStatements::AddStatement(m_tableCode.trimmed(), items, m_lists.types());
        if (!face.InsertTableField(add))
            return failed;
        transaction.Commit();
    } catch (const db::DbError &) {
        return failed;
    }
    return {true, afterSave(m_tableCode, QStringLiteral("增加成功！")), ItemField::None};
}

void ItemModification::prepare(const QString &tableCode, const QString &itemCode)
{
    m_tableCode = tableCode;
    m_itemCode = itemCode;
}

void ItemModification::load()
{
    m_lists.load(true);
    m_record = clsHrSysItemDict();
    m_found = false;
    m_storedLength = 0;
    m_storedDecimals = 0;
    m_hasData = false;

    clsHrSysItemDicts items;
    items.Load(QStringLiteral("select * from hr_sys_itemdict where ctablecode=")
               + quoted(m_tableCode) + QStringLiteral(" and citemcode= ") + quoted(m_itemCode));
    if (items.Count() != 1)
        return;
    m_record = *items.Item(1);
    m_found = true;
    m_storedLength = ItemRules::wholeNumber(m_record.itemlen(), 0);
    m_storedDecimals = ItemRules::wholeNumber(m_record.itemdec(), 0);

    m_hasData = true;
    try {
        const QString column = services::checkedIdentifier(m_record.ItemCode().trimmed());
        const QString table = services::checkedIdentifier(m_tableCode.trimmed());
        const auto rs = conn().OpenRecordset(QStringLiteral("select  ") + column
                                             + QStringLiteral("  from ") + table);
        m_hasData = false;
        for (; !rs->Eof() && !m_hasData; rs->MoveNext())
            m_hasData = !rs->FieldIsNull(0) && !rs->FieldValue(0).toString().trimmed().isEmpty();
    } catch (const db::DbError &) {
        m_hasData = true;
    }
}

ActionResult ItemModification::check(const ItemInput &input) const
{
    if (RuleResult r = ItemRules::requiredCheck(input))
        return ActionResult::failed(*r);
    if (RuleResult r = ItemRules::nameFieldCheck(input.name))
        return ActionResult::failed(*r);
    const QString name = input.name.trimmed();
    if (name.toUpper() != m_record.itemname().toUpper() && nameTaken(name, m_tableCode))
        return {false, QStringLiteral("信息项名称不唯一，请重新输入..."), ItemField::ItemName};
    if (RuleResult r = ItemRules::lengthCheck(input))
        return ActionResult::failed(*r);
    if (RuleResult r = ItemRules::shrinkCheck(input, m_storedLength, m_storedDecimals))
        return ActionResult::failed(*r);
    return {};
}

ActionResult ItemModification::commit(const ItemInput &input)
{
    const ActionResult failed{false, QStringLiteral("修改失败！"), ItemField::None};
    clsHrSysItemDict updated = m_record;
    ItemRules::applyModification(input, updated, browserRows());
    try {
        const QString alter = ColumnStatements::AlterStatement(updated, m_lists.types());
        db::TransactionGuard transaction(conn());
        clsHrSysItemDictsFace face;
        if (!face.Modify(updated))
            return failed;
        if (!alter.isEmpty() && !face.UpdateTableField(alter))
            return failed;
        transaction.Commit();
    } catch (const db::DbError &) {
        return failed;
    }
    m_record = updated;
    return {true, afterSave(m_tableCode, QStringLiteral("修改成功！")), ItemField::None};
}

} // namespace vorlane
