#include "DialectSupport.h"

#include "Engine.h"
#include "TsqlTranslator.h"

namespace vorlane::db {

using namespace Qt::StringLiterals;

bool changesRows(const QString &sql)
{
    // Plain string work: this may run while static objects are being destroyed at exit.
    const QString trimmed = sql.trimmed();
    qsizetype n = 0;
    while (n < trimmed.size() && trimmed.at(n).isLetter())
        ++n;
    const QStringView head = QStringView(trimmed).left(n);
    for (const char *verb : {"insert", "update", "delete", "replace"}) {
        if (head.compare(QLatin1String(verb), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool conditionHolds(Engine &engine, const QString &condition, bool negated)
{
    if (condition.isEmpty())
        return true;
    RecordsetPtr rs = engine.QueryNative(condition);
    const bool found = !rs->Eof();
    rs->Close();
    return found != negated;
}

QString valueRefusal(const QString &table,
                     const QString &column,
                     const QString &declared,
                     const std::optional<QString> &value)
{
    const QString type = declared.toLower();
    if (!value)
        return u"表 %1 的列 %2（%3）不能存入所给的值"_s.arg(table, column, type);
    const QString shown = value->size() > 80 ? value->left(80) + u'…' : *value;
    if (TsqlTranslator::valueRule(type).kind == TsqlTranslator::ValueRule::Number)
        return u"表 %1 的列 %2 是 %3 类型，不能存入文本“%4”"_s.arg(table, column, type, shown);
    return u"表 %1 的列 %2 是 %3 类型，存不下“%4”：超出长度"_s.arg(table, column, type, shown);
}

} // namespace vorlane::db
