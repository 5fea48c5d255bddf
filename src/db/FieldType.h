#pragma once

#include <QString>
#include <QVariant>

namespace vorlane::db {

// ADO-style field type codes; records and NullSafeValue depend on these numbers.
enum AdoType : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adBigInt = 20,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
};

// Maps a declared column type ("varchar(20)", "[int]", "bit", "ZQUID", ...) to its ADO code.
// Returns adEmpty when the declaration is empty (an expression column).
int adoTypeFromDeclaredType(QStringView declaredType);

// A NULL field value is an invalid QVariant; the empty text is a valid, empty QString.
inline bool isNullValue(const QVariant &v)
{
    return !v.isValid();
}

} // namespace vorlane::db
