#include "FieldReader.h"

#include "ModelError.h"
#include "db/Recordset.h"
#include "entry/mdlFunction.h"

#include <QDateTime>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace vorlane {

namespace {

QString describe(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("NULL");
    return QStringLiteral("“%1”").arg(valueToText(value));
}

[[noreturn]] void conversionFailed(const QVariant &value, QStringView column, int bits)
{
    throw ModelError(
        QStringLiteral("字段“%1”的值%2不能转换为%3位整数").arg(column, describe(value)).arg(bits));
}

// The integer a value stands for, rounded half to even, or nothing when it is not a number.
std::optional<double> numberOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1.0 : 0.0;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return double(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        return std::nearbyint(d);
    }
    case QMetaType::QString: {
        // Blanks around the number are allowed, an empty text is not a number.
        bool ok = false;
        const double d = value.toString().trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return std::nullopt;
        return std::nearbyint(d);
    }
    default:
        return std::nullopt;
    }
}

template<typename Int>
Int toInteger(const QVariant &value, QStringView column)
{
    if (value.typeId() == QMetaType::Int) { // what integer and bit columns give
        const int v = *static_cast<const int *>(value.constData());
        if (v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max())
            conversionFailed(value, column, sizeof(Int) * 8);
        return Int(v);
    }
    // Integers too big for a double lose nothing that matters: they are out of range anyway.
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::ULongLong) {
        const qlonglong v = value.toLongLong();
        if (value.typeId() == QMetaType::ULongLong
            && value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            conversionFailed(value, column, sizeof(Int) * 8);
        if (v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max())
            conversionFailed(value, column, sizeof(Int) * 8);
        return Int(v);
    }
    const std::optional<double> d = numberOf(value);
    if (!d || *d < double(std::numeric_limits<Int>::min())
        || *d > double(std::numeric_limits<Int>::max()))
        conversionFailed(value, column, sizeof(Int) * 8);
    return Int(*d);
}

// Small numbers (flags, types, lengths) come up in nearly every row: their texts are made once
// and shared.
QString numberText(int n)
{
    constexpr int Shared = 1024;
    static const auto texts = [] {
        auto t = std::make_unique<QString[]>(Shared);
        for (int i = 0; i < Shared; ++i)
            t[i] = QString::number(i);
        return t;
    }();
    if (n >= 0 && n < Shared)
        return texts[n];
    return QString::number(n);
}

} // namespace

QString valueToText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::QString:
        return *static_cast<const QString *>(value.constData());
    case QMetaType::Int:
        return numberText(*static_cast<const int *>(value.constData()));
    case QMetaType::Bool:
        return numberText(value.toBool() ? 1 : 0);
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(Qt::ISODate);
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

qint16 valueToInt16(const QVariant &value, QStringView column)
{
    return toInteger<qint16>(value, column);
}

qint32 valueToInt32(const QVariant &value, QStringView column)
{
    return toInteger<qint32>(value, column);
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

int FieldReader::indexOf(QStringView column)
{
    const int index = m_rs.FieldIndex(column);
    if (index < 0)
        throw db::DbError(QStringLiteral("记录集中没有字段“%1”").arg(column));
    return index;
}

QVariant FieldReader::valueAt(int index)
{
    QVariant value = m_rs.FieldValue(index);
    const int type = m_rs.FieldType(index);
    // NullSafeValue returns such a value as it is; spare the copy.
    if (value.isValid() && type != db::adBoolean)
        return value;
    return NullSafeValue(value, type);
}

QString FieldReader::readText(QStringView column)
{
    QVariant value = valueAt(indexOf(column));
    if (value.typeId() == QMetaType::QString) // held in the variant itself: take it over
        return std::move(*static_cast<QString *>(value.data()));
    return valueToText(value);
}

qint16 FieldReader::readInt16(QStringView column)
{
    return valueToInt16(valueAt(indexOf(column)), column);
}

qint32 FieldReader::readInt32(QStringView column)
{
    return valueToInt32(valueAt(indexOf(column)), column);
}

} // namespace vorlane
