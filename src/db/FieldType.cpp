#include "FieldType.h"

namespace vorlane::db {

int adoTypeFromDeclaredType(QStringView declaredType)
{
    QString t = declaredType.trimmed().toString().toLower();
    t.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    const qsizetype paren = t.indexOf(QLatin1Char('('));
    if (paren >= 0)
        t.truncate(paren);
    // "varchar collate nocase", "int not null": only the first word names the type.
    const qsizetype space = t.indexOf(QLatin1Char(' '));
    if (space >= 0)
        t.truncate(space);
    t = t.trimmed();
    if (t.isEmpty())
        return adEmpty;

    static const QHash<QString, int> types = {
        {QStringLiteral("int"), adInteger},
        {QStringLiteral("integer"), adInteger},
        {QStringLiteral("smallint"), adSmallInt},
        {QStringLiteral("tinyint"), adUnsignedTinyInt},
        {QStringLiteral("bigint"), adBigInt},
        {QStringLiteral("bit"), adBoolean},
        {QStringLiteral("boolean"), adBoolean},
        {QStringLiteral("varchar"), adVarChar},
        {QStringLiteral("nvarchar"), adVarWChar},
        {QStringLiteral("char"), adChar},
        {QStringLiteral("nchar"), adWChar},
        {QStringLiteral("text"), adLongVarChar},
        {QStringLiteral("ntext"), adLongVarWChar},
        {QStringLiteral("float"), adDouble},
        {QStringLiteral("double"), adDouble},
        {QStringLiteral("real"), adSingle},
        {QStringLiteral("numeric"), adNumeric},
        {QStringLiteral("decimal"), adNumeric},
        {QStringLiteral("money"), adCurrency},
        {QStringLiteral("smallmoney"), adCurrency},
        {QStringLiteral("datetime"), adDBTimeStamp},
        {QStringLiteral("smalldatetime"), adDBTimeStamp},
        {QStringLiteral("datetime2"), adDBTimeStamp},
        {QStringLiteral("date"), adDBDate},
        {QStringLiteral("time"), adDBTime},
        {QStringLiteral("uniqueidentifier"), adGUID},
        {QStringLiteral("zquid"), adGUID},
        {QStringLiteral("binary"), adBinary},
        {QStringLiteral("varbinary"), adVarBinary},
        {QStringLiteral("image"), adVarBinary},
        {QStringLiteral("blob"), adVarBinary},
    };
    return types.value(t, adVarWChar);
}

} // namespace vorlane::db
