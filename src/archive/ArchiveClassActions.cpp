#include "ArchiveClassActions.h"

#include "ArchiveQueries.h"

#include "entry/mdlFunction.h"
#include "model/clsHrSysSetDicts.h"
#include "services/clsHrCTsFace.h"
#include "services/clsHrSysSetDictsFace.h"

namespace vorlane {

using archive::connection;
using archive::hasRows;
using archive::quoted;
using archive::tableName;

namespace {

const QString CodePrefix = QStringLiteral("HR_CT");

ArchiveEditResult checkAddInput(const ArchiveClassInput &input)
{
    const QString tooLong = QStringLiteral("输入内容太长，请重新输入");
    if (input.code.size() > 15)
        return ArchiveEditResult::failure(QStringLiteral("表名太长，请重新输入"),
                                          QStringLiteral("txtCode"));
    if (input.code.trimmed().isEmpty())
        return ArchiveEditResult::failure(QStringLiteral("类别编码不能为空，请输入..."),
                                          QStringLiteral("txtCode"));
    if (input.name.trimmed().isEmpty())
        return ArchiveEditResult::failure(QStringLiteral("类别名称不能为空，请输入..."),
                                          QStringLiteral("txtName"));
    if (AnsiByteLength(input.name) > 30)
        return ArchiveEditResult::failure(tooLong, QStringLiteral("txtName"));
    if (AnsiByteLength(input.description) > 100)
        return ArchiveEditResult::failure(tooLong, QStringLiteral("txtDescription"));
    if (AnsiByteLength(input.memo) > 100)
        return ArchiveEditResult::failure(tooLong, QStringLiteral("txtMemo"));
    return ArchiveEditResult::success();
}

// Names are unique among all information sets, archive classes or not.
ArchiveEditResult checkNameUnique(const QString &name)
{
    if (hasRows(QStringLiteral("select * from Hr_sys_setdict where vTableName=")
                + quoted(name.trimmed())))
        return ArchiveEditResult::failure(QStringLiteral("类别名称不唯一，请重新输入..."),
                                          QStringLiteral("txtName"));
    return ArchiveEditResult::success();
}

} // namespace

QString FormatClassNumber(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QChar(u'0'));
}

QString NextArchiveClassNumber()
{
    try {
        db::RecordsetPtr rs = connection().OpenRecordset(
            QStringLiteral("select max(CONVERT(char,substring(ctablecode,6,3),105))+1 as mm from "
                           "hr_sys_setdict where itableclass =3"));
        int next = 0;
        if (!rs->Eof())
            next = NullSafeValue(rs->FieldValue(0), rs->FieldType(0)).toInt();
        rs->Close();
        return FormatClassNumber(next);
    } catch (const std::exception &) {
        return QString();
    }
}

int FlagValue(const QString &text)
{
    bool numeric = false;
    const double value = text.trimmed().toDouble(&numeric);
    if (numeric)
        return int(value);
    const QString upper = text.trimmed().toUpper();
    return upper == u"TRUE" ? 1 : 0;
}

bool IsNumericValue(const QString &text)
{
    bool numeric = false;
    text.trimmed().toDouble(&numeric);
    return numeric;
}

std::optional<clsHrSysSetDict> LoadArchiveClass(const QString &tableCode, ClassKeySpelling spelling)
{
    clsHrSysSetDicts classes;
    classes.Load((spelling == ClassKeySpelling::Lower
                      ? QStringLiteral("select * from hr_sys_setdict where ctablecode=")
                      : QStringLiteral("select * from hr_sys_setdict where cTableCode="))
                 + quoted(tableCode));
    if (classes.Count() != 1)
        return std::nullopt;
    return *classes.Item(1);
}

ArchiveClassInput ArchiveClassFields(const clsHrSysSetDict &record)
{
    ArchiveClassInput fields;
    fields.levels = FlagValue(record.MultiLevel());
    fields.hide = record.Display() != 0 ? 1 : 0;
    fields.sys = FlagValue(record.sFlag());
    fields.code = record.TableCode();
    fields.name = record.TableName();
    fields.description = record.description();
    fields.showOrder = record.ShowOrder();
    fields.memo = record.Memo();
    return fields;
}

bool HasCodesBelowTopLevel(const QString &tableCode)
{
    try {
        db::RecordsetPtr rs = connection().OpenRecordset(
            QStringLiteral("select max(ilevels) from  ") + tableName(tableCode));
        int deepest = 0;
        if (!rs->Eof())
            deepest = NullSafeValue(rs->FieldValue(0), rs->FieldType(0)).toInt();
        rs->Close();
        return deepest > 0;
    } catch (const std::exception &) {
        // A class without its table has no codes to protect.
        return false;
    }
}

QString ClassNodeText(const QString &name, const QString &code)
{
    const QString trimmed = code.trimmed();
    const QString tableCode
        = trimmed.contains(CodePrefix, Qt::CaseInsensitive) ? trimmed : CodePrefix + trimmed;
    return name.trimmed() + u'(' + tableCode + u')';
}

ArchiveEditResult AddArchiveClass(const ArchiveClassInput &input, int browserGridRows)
{
    const QString failed = QStringLiteral("创建失败");
    try {
        if (ArchiveEditResult r = checkAddInput(input); !r.ok)
            return r;
        if (ArchiveEditResult r = checkNameUnique(input.name); !r.ok)
            return r;
        const QString tableCode = CodePrefix + input.code.trimmed();
        if (hasRows(QStringLiteral("select * from Hr_sys_setdict where cTableCode=")
                    + quoted(tableCode)))
            return ArchiveEditResult::failure(QStringLiteral("类别编码不唯一，请重新输入..."),
                                              QStringLiteral("txtCode"));

        clsHrSysSetDict record;
        record.setTableCode(tableCode);
        record.setTableName(input.name.trimmed());
        record.setDescription(input.description.trimmed());
        record.setTableClass(QStringLiteral("3"));
        record.setCodeLen(30);
        record.setMultiLevel(QString::number(input.levels));
        record.setDisplay(qint16(input.hide));
        record.setSFlag(QString::number(input.sys));
        record.setDFlag(QStringLiteral("0"));
        record.setShowOrder(IsNumericValue(input.showOrder) ? input.showOrder.trimmed()
                                                            : QString::number(browserGridRows));
        record.setDisplayItem(QStringLiteral("vDescription"));
        record.setMainKey(QStringLiteral("cCodeID"));
        record.setMemo(input.memo.trimmed());

        // Leaving the scope without a commit rolls back the dictionary row and the table alike.
        db::TransactionGuard transaction(connection());
        if (!clsHrSysSetDictsFace().Add(record, QString(), false))
            return ArchiveEditResult::failure(failed);
        if (!clsHrCTsFace().CreateTable(tableCode))
            return ArchiveEditResult::failure(failed);
        transaction.Commit();
        return ArchiveEditResult::success(QStringLiteral("创建成功"));
    } catch (const std::exception &) {
        return ArchiveEditResult::failure(failed);
    }
}

ArchiveEditResult CheckArchiveClassModify(const clsHrSysSetDict &loaded,
                                          const ArchiveClassInput &input)
{
    if (input.name.trimmed() == loaded.TableName())
        return ArchiveEditResult::success();
    try {
        return checkNameUnique(input.name);
    } catch (const std::exception &) {
        return ArchiveEditResult::failure(QStringLiteral("修改失败"));
    }
}

ArchiveEditResult
ModifyArchiveClass(const clsHrSysSetDict &loaded, const ArchiveClassInput &input, qint16 optFlag)
{
    const QString failed = QStringLiteral("修改失败");
    try {
        clsHrSysSetDict record;
        record.setDescription(input.description.trimmed());
        record.setMemo(input.memo.trimmed());
        record.setMultiLevel(QString::number(input.levels));
        record.setDisplay(qint16(input.hide));
        record.setTableClass(QStringLiteral("3"));
        // With optFlag 1 the user-defined box is hidden and the stored flag stays.
        record.setSFlag(optFlag == 0 ? QString::number(input.sys) : loaded.sFlag());
        record.setTableCode(input.code.trimmed());
        record.setTableName(input.name.trimmed());
        record.setShowOrder(IsNumericValue(input.showOrder) ? input.showOrder.trimmed()
                                                            : QStringLiteral("9999"));

        db::TransactionGuard transaction(connection());
        if (!clsHrSysSetDictsFace().Modify(record, QString(), false))
            return ArchiveEditResult::failure(failed);
        const QString table = tableName(record.TableCode());
        connection().Execute(QStringLiteral("update ") + table
                             + (input.hide == 0 ? QStringLiteral(" set bhideFlag=1")
                                                : QStringLiteral(" set bhideFlag=0")));
        if (optFlag == 0)
            connection().Execute(QStringLiteral("update ") + table
                                 + QStringLiteral(" set bsysflag=") + QString::number(input.sys));
        transaction.Commit();
        return ArchiveEditResult::success(QStringLiteral("修改成功"));
    } catch (const std::exception &) {
        return ArchiveEditResult::failure(failed);
    }
}

} // namespace vorlane
