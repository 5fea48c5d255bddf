#include "HostRights.h"

#include "HostSql.h"

#include "db/DbError.h"

#include <QRegularExpression>

namespace vorlane::host::rights {

using namespace Qt::StringLiterals;

namespace {

bool exists(db::Connection &conn, const QString &sql)
{
    auto rs = conn.OpenRecordset(sql);
    return !rs->Eof() && rs->FieldValue(0).toInt() > 0;
}

void requireOperator(db::Connection &conn, const QString &code)
{
    if (!exists(conn,
                u"select count(*) from Host_Operator where cOperatorCode = "_s + sqlText(code)))
        throw db::DbError(u"操作员[%1]不存在"_s.arg(code));
}

// A grant must name a function or a menu node above some.
bool coversAFunction(db::Connection &conn, const QString &code)
{
    if (code.isEmpty())
        return false;
    auto rs = conn.OpenRecordset(u"select cFunctionCode from Host_Function"_s);
    for (; !rs->Eof(); rs->MoveNext()) {
        if (rs->FieldValue(0).toString().startsWith(code, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

void addOperator(db::Connection &conn, const QString &code, const QString &name, bool supervisor)
{
    static const QRegularExpression codeForm(u"^[A-Za-z0-9_]{1,20}$"_s);
    const QString c = code.trimmed();
    const QString n = name.trimmed();
    if (!codeForm.match(c).hasMatch())
        throw db::DbError(u"操作员编码[%1]只能由 1 至 20 个字母、数字或下划线组成"_s.arg(code));
    if (n.isEmpty() || n.size() > 40)
        throw db::DbError(u"操作员名称不能为空，且不能超过 40 个字"_s);
    if (exists(conn, u"select count(*) from Host_Operator where cOperatorCode = "_s + sqlText(c)))
        throw db::DbError(u"操作员[%1]已经存在"_s.arg(c));
    conn.Execute(u"insert into Host_Operator (cOperatorCode, vOperatorName, bSupervisor, "
                 "bDisabled) values (%1, %2, %3, 0)"_s.arg(sqlText(c), sqlText(n))
                     .arg(supervisor ? 1 : 0));
}

void grant(db::Connection &conn, const QString &operatorCode, const QString &functionCode)
{
    const QString op = operatorCode.trimmed();
    const QString fn = functionCode.trimmed();
    requireOperator(conn, op);
    if (!coversAFunction(conn, fn))
        throw db::DbError(u"功能编码[%1]不存在"_s.arg(fn));
    if (exists(conn,
               u"select count(*) from Host_Right where cOperatorCode = "_s + sqlText(op)
                   + u" and cFunctionCode = "_s + sqlText(fn)))
        return;
    conn.Execute(u"insert into Host_Right (cOperatorCode, cFunctionCode) values (%1, %2)"_s.arg(
        sqlText(op), sqlText(fn)));
}

void revoke(db::Connection &conn, const QString &operatorCode, const QString &functionCode)
{
    requireOperator(conn, operatorCode.trimmed());
    conn.Execute(u"delete from Host_Right where cOperatorCode = "_s
                 + sqlText(operatorCode.trimmed()) + u" and cFunctionCode = "_s
                 + sqlText(functionCode.trimmed()));
}

QStringList grantsOf(db::Connection &conn, const QString &operatorCode)
{
    requireOperator(conn, operatorCode.trimmed());
    QStringList codes;
    auto rs = conn.OpenRecordset(u"select cFunctionCode from Host_Right where cOperatorCode = "_s
                                 + sqlText(operatorCode.trimmed()) + u" order by cFunctionCode"_s);
    for (; !rs->Eof(); rs->MoveNext())
        codes << rs->FieldValue(0).toString();
    return codes;
}

} // namespace vorlane::host::rights
