#include "DialectSupport.h"

#include "Engine.h"

namespace vorlane::db {

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

} // namespace vorlane::db
