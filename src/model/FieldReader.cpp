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
Int fromInt(int v, QStringView column)
{
    if (v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max())
        conversionFailed(QVariant(v), column, sizeof(Int) * 8);
    return Int(v);
}

template<typename Int>
Int toInteger(const QVariant &value, QStringView column)
{
    if (value.typeId() == QMetaType::Int) // what integer and bit columns give
        return fromInt<Int>(*static_cast<const int *>(value.constData()), column);
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

namespace {
thread_local ColumnCache *innermostCache = nullptr;
}

ColumnCache::ColumnCache(const db::Recordset &rs)
    : m_rs(rs)
    , m_outer(innermostCache)
{
    innermostCache = this;
}

ColumnCache::~ColumnCache()
{
    innermostCache = m_outer;
}

ColumnCache *ColumnCache::forRecordset(const db::Recordset &rs)
{
    for (ColumnCache *cache = innermostCache; cache; cache = cache->m_outer) {
        if (&cache->m_rs == &rs)
            return cache;
    }
    return nullptr;
}

int FieldReader::indexOf(QStringView column)
{
    const size_t read = m_reads++;
    if (m_cache && read < m_cache->m_columns.size()) {
        const ColumnCache::Column &cached = m_cache->m_columns[read];
        // Records read their names from literals: the same text where it was the last time.
        if (cached.name.data() == column.data() && cached.name.size() == column.size())
            return cached.index;
    }
    const int index = m_rs.FieldIndex(column);
    if (index < 0)
        throw db::DbError(QStringLiteral("记录集中没有字段“%1”").arg(column));
    if (m_cache) {
        if (read < m_cache->m_columns.size())
            m_cache->m_columns[read] = {column, index};
        else if (read == m_cache->m_columns.size())
            m_cache->m_columns.push_back({column, index});
    }
    return index;
}

QVariant FieldReader::valueAt(int index)
{
    return NullSafeValue(m_rs.FieldValue(index), m_rs.FieldType(index));
}

QString FieldReader::readText(QStringView column)
{
    const int index = indexOf(column);
    QString text;
    int number = 0;
    // Plain values are what NullSafeValue leaves as they are; a bit is 0 or 1 either way.
    switch (m_rs.FieldPlain(index, text, number)) {
    case db::Recordset::Plain::Null:
        return valueToText(NullSafeValue(QVariant(), m_rs.FieldType(index)));
    case db::Recordset::Plain::Text:
        return text;
    case db::Recordset::Plain::Integer:
        return numberText(number);
    case db::Recordset::Plain::Other:
        break;
    }
    return valueToText(valueAt(index));
}

template<typename Int>
Int FieldReader::readInteger(QStringView column)
{
    const int index = indexOf(column);
    QString text;
    int number = 0;
    switch (m_rs.FieldPlain(index, text, number)) {
    case db::Recordset::Plain::Null:
        return toInteger<Int>(NullSafeValue(QVariant(), m_rs.FieldType(index)), column);
    case db::Recordset::Plain::Integer:
        return fromInt<Int>(number, column);
    default:
        return toInteger<Int>(valueAt(index), column);
    }
}

qint16 FieldReader::readInt16(QStringView column)
{
    return readInteger<qint16>(column);
}

qint32 FieldReader::readInt32(QStringView column)
{
    return readInteger<qint32>(column);
}

} // namespace vorlane
