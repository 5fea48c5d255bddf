#include "SetEditorActions.h"

#include "ConstructBrowser.h"

#include "db/Connection.h"
#include "entry/Defs.h"
#include "entry/mdlFunction.h"
#include "model/FieldReader.h"
#include "model/clsHrSysItemDicts.h"
#include "model/clsHrSysSetDicts.h"
#include "services/Sql.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"

#include <exception>

namespace vorlane {

using services::sqlText;

const QString SetEditorActions::Title = QStringLiteral("人事信息管理");

namespace {

SetEditResult failed(const QString &message, SetField focus = SetField::None)
{
    return {false, message, focus};
}

SetEditResult passed()
{
    return {true, QString(), SetField::None};
}

bool isDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The group tokens whose sets have a main table, and that table in upper case.
QString mainTableOfGroup(const QString &groupKey)
{
    if (groupKey == u"R1")
        return QStringLiteral("HR_HI_PERSON");
    if (groupKey == u"R2")
        return QStringLiteral("DEPARTMENT");
    if (groupKey == u"R3")
        return QStringLiteral("HR_OM_DUTY");
    if (groupKey == u"R4")
        return QStringLiteral("HR_OM_JOB");
    return QString();
}

} // namespace

void SetEditorActions::setNodeKey(const QString &key)
{
    m_nodeKey = key;
    m_nodeKeyTail = key.mid(1);
}

QStringList SetEditorActions::typeEntries()
{
    return {QStringLiteral("1-单当前记录表"), QStringLiteral("2-多当前记录表")};
}

QStringList SetEditorActions::cycleEntries()
{
    return {
        QString(), QStringLiteral("1-按年"), QStringLiteral("2-按季度"), QStringLiteral("3-按月")};
}

QString SetEditorActions::functionStatement(bool attendanceStarted)
{
    // Function 128 (attendance) is offered only once attendance has a start date.
    return attendanceStarted
               ? QStringLiteral("select * from hr_sys_Function")
               : QStringLiteral("select * from hr_sys_Function where FunctionID<>128");
}

QString SetEditorActions::tableClassStatement(qint16 optFlag) const
{
    if (!isAdd())
        return QStringLiteral("select * from hr_bd_tableclass");
    if (optFlag == 1)
        return QStringLiteral("select * from hr_bd_tableclass where  id=1");
    if (m_nodeKeyTail == u"9")
        return QStringLiteral("select * from hr_bd_tableclass where id=9 or id=1 or id=5");
    return QStringLiteral("select * from hr_bd_tableclass where id<>9 ");
}

void SetEditorActions::loadLists(qint16 optFlag)
{
    m_attendanceStarted = HasTMFirstDate();
    m_dataTypes.Clear();
    m_dataTypes.Load(QStringLiteral("select * from hr_sys_datatype"));

    db::Connection &conn = Defs::instance().conn();
    m_functions.clear();
    {
        db::RecordsetPtr rs = conn.OpenRecordset(functionStatement(m_attendanceStarted));
        for (; !rs->Eof(); rs->MoveNext()) {
            FieldReader f(*rs);
            FunctionRow row;
            row.FunctionID = f.readInt32(u"FunctionID");
            row.FunctionName = f.readText(u"FunctionName");
            row.Memo = f.readText(u"Memo");
            m_functions.append(row);
        }
        rs->Close();
    }
    m_tableClasses.clear();
    {
        db::RecordsetPtr rs = conn.OpenRecordset(tableClassStatement(optFlag));
        for (; !rs->Eof(); rs->MoveNext()) {
            FieldReader f(*rs);
            TableClassRow row;
            row.id = f.readInt32(u"id");
            row.name = f.readText(u"name");
            row.memo = f.readText(u"Memo");
            m_tableClasses.append(row);
        }
        rs->Close();
    }
}

QStringList SetEditorActions::tableClassEntries() const
{
    QStringList entries;
    for (const TableClassRow &row : m_tableClasses)
        entries << QString::number(row.id) + u'-' + row.name;
    return entries;
}

QStringList SetEditorActions::functionEntries() const
{
    QStringList entries;
    for (const FunctionRow &row : m_functions)
        entries << QString::number(row.FunctionID) + u'-' + row.FunctionName;
    return entries;
}

std::shared_ptr<clsHrSysSetDict> SetEditorActions::loadSet()
{
    m_loadedSet.reset();
    clsHrSysSetDicts sets;
    sets.Load(QStringLiteral("select * from hr_sys_setdict where cTableCode='")
              + sqlText(EditTableCode) + u'\'');
    if (sets.Count() == 1)
        m_loadedSet = sets.Item(1);
    return m_loadedSet;
}

QList<int> SetEditorActions::functionRowsOfScope(const QString &scope) const
{
    bool numeric = false;
    const double value = scope.trimmed().toDouble(&numeric);
    const qint64 bits = numeric ? qint64(value) : 0;
    QList<int> rows;
    for (int i = 0; i < m_functions.size(); ++i) {
        if ((m_functions.at(i).FunctionID & bits) != 0)
            rows << i;
    }
    return rows;
}

QString SetEditorActions::defaultParentTable() const
{
    if (m_nodeKey.contains(u'^'))
        return KeyMiddleSegment(m_nodeKey);
    return mainTableOfGroup(m_nodeKey.toUpper());
}

bool SetEditorActions::isFirstCharStop(QChar c)
{
    return c == u'_' || (c >= u'0' && c <= u'9');
}

SetEditResult SetEditorActions::leaveCode(const QString &text)
{
    const QString code = text.trimmed();
    if (!code.isEmpty() && isFirstCharStop(code.at(0)))
        return failed(QStringLiteral("应用表代码的第一个字符为非法字符！"), SetField::Code);
    return passed();
}

SetEditResult SetEditorActions::leaveName(const QString &text)
{
    const QString name = text.trimmed();
    if (!name.isEmpty() && !IsLegalText(name))
        return failed(QStringLiteral("含有非法字符，请重新输入！"), SetField::Name);
    return passed();
}

qint64 SetEditorActions::functionScope(const QStringList &selectedEntries)
{
    qint64 scope = 0;
    for (const QString &entry : selectedEntries)
        scope += CodePart(entry).toLongLong();
    return scope;
}

QString SetEditorActions::groupNodeKey() const
{
    return m_nodeKey.contains(u'^') ? KeyHeadBeforeCaret(m_nodeKey) : m_nodeKey;
}

QString SetEditorActions::tableGroup() const
{
    const qsizetype caret = m_nodeKey.indexOf(u'^');
    return caret >= 0 ? m_nodeKey.mid(2, caret - 2) : m_nodeKey.mid(1, 1);
}

QString SetEditorActions::templateName() const
{
    const QString key = m_nodeKey.toUpper();
    if (key == u"R1")
        return QStringLiteral("cPsn_Num");
    if (key == u"R2")
        return QStringLiteral("cDepCode");
    if (key == u"R3")
        return QStringLiteral("cDutycode");
    if (key == u"R4")
        return QStringLiteral("cJobcode");
    return QStringLiteral("other");
}

QString SetEditorActions::modifiedNodeKey() const
{
    const QString code = EditTableCode.toUpper();
    const QString mainTable = mainTableOfGroup(m_nodeKey);
    if (!mainTable.isEmpty()) {
        return u'C' + m_nodeKey + u'^' + code + u'^' + (code == mainTable ? QString() : mainTable);
    }
    if (m_nodeKey == u"R9")
        return QStringLiteral("CR9^") + code + u'^';
    return m_nodeKey.toUpper();
}

SetEditResult SetEditorActions::checkLengths(const SetEditorInput &in) const
{
    if (in.code.size() > 20)
        return failed(QStringLiteral("信息集代码太长，请重新输入"), SetField::Code);
    if (in.code.trimmed().isEmpty())
        return failed(QStringLiteral("信息集代码不能为空，请输入..."), SetField::Code);
    if (in.name.trimmed().isEmpty())
        return failed(QStringLiteral("信息集名称不能为空，请输入..."), SetField::Name);
    const struct
    {
        const QString &text;
        int limit;
        SetField field;
    } limits[] = {{in.name, 30, SetField::Name},
                  {in.description, 100, SetField::Description},
                  {in.parentTable, 20, SetField::ParentTable},
                  {in.memo, 100, SetField::Memo}};
    for (const auto &l : limits) {
        if (AnsiByteLength(l.text) > l.limit)
            return failed(QStringLiteral("输入内容太长，请重新输入"), l.field);
    }
    return passed();
}

SetEditResult SetEditorActions::checkName(const QString &text) const
{
    const QString name = text.trimmed();
    if (name.isEmpty())
        return failed(QStringLiteral("信息集名称不能为空，请输入..."), SetField::Name);
    clsHrSysSetDicts sets;
    sets.Load(QStringLiteral("select * from Hr_sys_setdict where vTableName='") + sqlText(name)
              + u'\'');
    if (sets.Count() >= 1)
        return failed(QStringLiteral("信息集名称不唯一，请重新输入..."), SetField::Name);
    return passed();
}

SetEditResult SetEditorActions::checkCode(const QString &code) const
{
    if (!code.isEmpty() && code.left(3).toUpper() != u"HR_")
        return failed(QStringLiteral("信息集代码必须以‘hr_’打头，请重新输入..."), SetField::Code);
    // The code becomes a table name: anything but an identifier stops here, pasted text included.
    if (!services::isIdentifier(code))
        return failed(QStringLiteral("含有非法字符，请重新输入！"), SetField::Code);
    clsHrSysSetDicts sets;
    sets.Load(QStringLiteral("select * from Hr_sys_setdict where cTableCode='") + code + u'\'');
    if (sets.Count() >= 1)
        return failed(QStringLiteral("信息集代码不唯一，请重新输入..."), SetField::Code);
    return passed();
}

bool SetEditorActions::addTemplateItems(const QString &code, const QString &setName)
{
    clsHrSysItemDicts items;
    db::RecordsetPtr rs = Defs::instance().conn().OpenRecordset(
        QStringLiteral("select * from hr_bd_fld where cTable='") + templateName() + u'\'');
    for (; !rs->Eof(); rs->MoveNext()) {
        FieldReader f(*rs);
        const auto item = items.Add();
        item->setTableCode(code);
        item->setItemCode(f.readText(u"cItemCode"));
        item->setItemname(f.readText(u"vItemName"));
        item->setDescription(f.readText(u"vdescription"));
        item->setItemtype(f.readText(u"iItemType"));
        item->setReferenceObj(f.readText(u"vReferenceObj"));
        item->setLastLevelFalg(f.readText(u"bLastLevelFlag"));
        item->setItemlen(f.readText(u"iItemLen"));
        item->setItemdec(f.readText(u"iItemDec"));
        item->setSFlag(f.readInt16(u"bsysFlag"));
        item->setRflag(f.readInt16(u"brecordFlag"));
        item->setNflag(f.readInt16(u"bnullFlag"));
        item->setSdefault(f.readText(u"vDefault"));
        item->setSformat(f.readText(u"vFormat"));
        item->setDFlag(f.readInt16(u"bdelFlag"));
        item->setDisplay(f.readInt16(u"bdisplay"));
        item->setShowOrder(f.readInt16(u"ishowOrder"));
        item->setBusinessFlag(f.readInt16(u"iBusinessFlag"));
        item->setDefaultField(f.readInt16(u"bdefault"));
    }
    rs->Close();

    const auto key = items.Add();
    key->setTableCode(code);
    key->setItemCode(QStringLiteral("PK_") + code);
    key->setItemname(QStringLiteral("主键"));
    key->setDescription(QStringLiteral("主键"));
    key->setItemtype(QStringLiteral("13"));
    key->setReferenceObj(QString());
    key->setLastLevelFalg(QString());
    key->setItemlen(QString());
    key->setItemdec(QString());
    key->setSformat(QString());
    key->setSFlag(0);
    key->setRflag(0);
    key->setNflag(0);
    key->setDFlag(0);
    key->setDisplay(0);
    key->setSdefault(QStringLiteral("newid()"));
    key->setShowOrder(1);
    key->setBusinessFlag(4);
    key->setDefaultField(1);

    clsHrSysItemDictsFace face;
    for (const auto &item : items) {
        if (!face.Add(*item, setName, true, m_dataTypes))
            return false;
    }
    return true;
}

SetEditResult SetEditorActions::add(const SetEditorInput &in)
{
    for (const SetEditResult &r : {leaveCode(in.code), leaveName(in.name), checkLengths(in)}) {
        if (!r.ok)
            return r;
    }
    SetEditResult r = checkName(in.name);
    if (!r.ok)
        return r;
    const QString code = in.code.trimmed();
    r = checkCode(code);
    if (!r.ok)
        return r;

    const qint64 scope = functionScope(in.selectedFunctions);
    if (scope == 0)
        return failed(QStringLiteral("请选择适用功能项！"));
    const QString classCode = CodePart(in.classText);
    const QString name = in.name.trimmed();
    ConstructBrowser *browser = ConstructBrowser::open();

    clsHrSysSetDict set;
    set.setTableCode(code);
    set.setTableName(name);
    set.setDescription(in.description.trimmed());
    set.setTableGroup(tableGroup());
    set.setTableClass(classCode);
    set.setTableType(in.typeText.trimmed().left(1));
    set.setCycleType(in.cycleText.trimmed().left(1));
    set.setBusinessFlag(QStringLiteral("4"));
    set.setFunctionFlag(QString::number(scope));
    set.setSFlag(QString::number(in.sysValue));
    set.setParentTable(in.parentTable.trimmed());
    set.setCFlag(QStringLiteral("0"));
    set.setDFlag(QStringLiteral("0"));
    const QString showOrder = in.showOrder.trimmed();
    set.setShowOrder(isDigits(showOrder) ? showOrder
                                         : QString::number(browser ? browser->gridRows() : 0));
    set.setDisplay(qint16(in.displayValue));
    set.setMainKey(QStringLiteral("PK_") + code);
    set.setMemo(in.memo.trimmed());

    const SetEditResult failure = failed(QStringLiteral("创建失败"));
    try {
        db::TransactionGuard guard(Defs::instance().conn());
        clsHrSysSetDictsFace sets;
        if (!sets.Add(set, classCode, true) || !sets.CreateTable(code, m_nodeKey)
            || !addTemplateItems(code, name)) {
            guard.Rollback();
            return failure;
        }
        guard.Commit();
    } catch (const std::exception &) {
        // The guard has rolled back whatever ran, the table included.
        return failure;
    }

    if (browser) {
        try {
            browser->AppendTreeChildNode(m_nodeKey,
                                         u'C' + groupNodeKey() + u'^' + code + u'^'
                                             + in.parentTable.trimmed(),
                                         name,
                                         QStringLiteral("1"));
        } catch (const std::exception &) {
            // Saved already; the browser catches up on its next refresh.
        }
    }
    return {true, QStringLiteral("创建成功"), SetField::None};
}

void SetEditorActions::afterAdd()
{
    if (ConstructBrowser *browser = ConstructBrowser::open()) {
        try {
            browser->TreeClick();
        } catch (const std::exception &) {
        }
    }
}

SetEditResult SetEditorActions::checkModify(const SetEditorInput &in) const
{
    const QString loadedName = m_loadedSet ? m_loadedSet->TableName().trimmed() : QString();
    if (in.name.trimmed().toUpper() == loadedName.toUpper())
        return passed();
    const SetEditResult r = leaveName(in.name);
    return r.ok ? checkName(in.name) : r;
}

SetEditResult SetEditorActions::modify(const SetEditorInput &in)
{
    const qint64 scope = functionScope(in.selectedFunctions);
    if (in.functionsEnabled && scope == 0)
        return failed(QStringLiteral("请选择适用功能项！"));

    clsHrSysSetDict set;
    set.setTableCode(in.code.trimmed());
    set.setTableName(in.name.trimmed());
    set.setDescription(in.description.trimmed());
    set.setParentTable(in.parentTable.trimmed());
    set.setFunctionFlag(QString::number(scope));
    set.setTableType(CodePart(in.typeText));
    set.setTableClass(CodePart(in.classText));
    set.setCycleType(CodePart(in.cycleText));
    const QString showOrder = in.showOrder.trimmed();
    set.setShowOrder(isDigits(showOrder) ? showOrder : QStringLiteral("9999"));
    set.setSFlag(QString::number(in.sysValue));
    set.setDisplay(qint16(in.displayValue));
    set.setMemo(in.memo.trimmed());

    const SetEditResult failure = failed(QStringLiteral("修改失败"));
    try {
        db::TransactionGuard guard(Defs::instance().conn());
        if (!clsHrSysSetDictsFace().Modify(set, CodePart(in.typeText), true)) {
            guard.Rollback();
            return failure;
        }
        guard.Commit();
    } catch (const std::exception &) {
        return failure;
    }

    if (ConstructBrowser *browser = ConstructBrowser::open()) {
        try {
            const QString key = modifiedNodeKey();
            if (browser->hasTreeNode(key)) {
                browser->setTreeNodeTag(key, QString::number(in.sysValue));
                browser->UpdateTreeNode(key, in.name);
            }
            browser->UpdateGrid(browser->gridRow());
        } catch (const std::exception &) {
            // Saved already; the browser catches up on its next refresh.
        }
    }
    return {true, QStringLiteral("修改成功"), SetField::None};
}

} // namespace vorlane
