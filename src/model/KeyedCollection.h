#pragma once

#include "ModelError.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <cmath>
#include <memory>
#include <vector>

namespace vorlane {

namespace db {
class Connection;
}

// Keys compare without regard to letter case. Codes are nearly always ASCII, where folding is
// lower-casing; anything else goes through Unicode case folding.
inline QString foldedKey(const QString &key)
{
    const qsizetype n = key.size();
    const QChar *chars = key.constData();
    qsizetype firstUpper = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i].unicode();
        if (c >= 0x80)
            return key.toCaseFolded();
        if (firstUpper < 0 && c >= u'A' && c <= u'Z')
            firstUpper = i;
    }
    if (firstUpper < 0)
        return key;
    QString folded = key;
    QChar *out = folded.data();
    for (qsizetype i = firstUpper; i < n; ++i) {
        const char16_t c = out[i].unicode();
        if (c >= u'A' && c <= u'Z')
            out[i] = QChar(char16_t(c + (u'a' - u'A')));
    }
    return folded;
}

// Ordered, keyed list of shared records: positions 1 to Count in insertion order, optional text
// keys unique without regard to letter case. Item hands out the collection's own record, so
// changing it changes the collection's content.
template<class Record>
class KeyedCollection
{
public:
    using RecordPtr = std::shared_ptr<Record>;
    using const_iterator = typename std::vector<RecordPtr>::const_iterator;

    // Creates a record with its defaults and appends it under sKey (no key when sKey is empty).
    // Throws ModelError when the key is already present in any letter case; nothing is added.
    RecordPtr Add(const QString &sKey = QString())
    {
        auto record = std::make_shared<Record>();
        append(sKey, record);
        return record;
    }

    // Throws ModelError for a position outside 1 to Count or an absent key.
    RecordPtr Item(qint32 position) const { return m_records[checkedIndex(position)]; }
    RecordPtr Item(const QString &key) const { return recordWithKey(key); }
    RecordPtr Item(const char *key) const { return Item(QString::fromUtf8(key)); }
    // A text variant is a key, a numeric one a position.
    RecordPtr Item(const QVariant &indexKey) const
    {
        if (isKeyVariant(indexKey))
            return recordWithKey(indexKey.toString());
        return m_records[indexOf(indexKey)];
    }

    qint32 Count() const { return qint32(m_records.size()); }

    // Throws ModelError for a position outside 1 to Count or an absent key.
    void Remove(qint32 position) { removeAt(checkedIndex(position)); }
    void Remove(const QString &key) { removeAt(indexOfKey(key)); }
    void Remove(const char *key) { Remove(QString::fromUtf8(key)); }
    void Remove(const QVariant &indexKey) { removeAt(indexOf(indexKey)); }

    // True when Item with the same argument would succeed; never throws.
    bool Exists(qint32 position) const { return position >= 1 && position <= Count(); }
    bool Exists(const QString &key) const
    {
        return !key.isEmpty() && m_byKey.contains(foldedKey(key));
    }
    bool Exists(const char *key) const { return Exists(QString::fromUtf8(key)); }
    bool Exists(const QVariant &indexKey) const
    {
        if (isKeyVariant(indexKey))
            return Exists(indexKey.toString());
        try {
            indexOf(indexKey);
            return true;
        } catch (const ModelError &) {
            return false;
        }
    }

    // Empties the collection; records live on while others hold them.
    void Clear()
    {
        m_records.clear();
        m_byKey.clear();
    }

    // Snapshot of the records in order, safe to walk while the collection changes.
    std::vector<RecordPtr> NewEnum() const { return m_records; }

    const_iterator begin() const { return m_records.cbegin(); }
    const_iterator end() const { return m_records.cend(); }

protected:
    // Appends an existing record; the same rules for keys as Add.
    void append(const QString &key, const RecordPtr &record)
    {
        if (key.isEmpty()) {
            m_records.push_back(record);
            return;
        }
        QString folded = foldedKey(key);
        if (m_byKey.contains(folded))
            throw ModelError(QStringLiteral("集合中已有关键字“%1”").arg(key));
        m_records.push_back(record);
        m_byKey.insert(std::move(folded), record);
    }

    // Load's row loop, defined in CollectionLoader.h.
    template<class RowKey>
    bool loadRows(db::Connection &conn, const QString &sql, RowKey rowKey);
    template<class RowKey, class RecordKey>
    bool loadRows(db::Connection &conn,
                  const QString &sql,
                  RowKey rowKey,
                  RecordKey recordKey,
                  std::initializer_list<QStringView> keyColumns);

private:
    static bool isKeyVariant(const QVariant &v)
    {
        const int type = v.typeId();
        return type == QMetaType::QString || type == QMetaType::QByteArray
               || type == QMetaType::QChar;
    }

    [[noreturn]] static void throwNoKey(const QString &key)
    {
        throw ModelError(QStringLiteral("集合中没有关键字为“%1”的记录").arg(key));
    }

    size_t checkedIndex(qint64 position) const
    {
        if (position < 1 || position > qint64(m_records.size()))
            throw ModelError(QStringLiteral("集合中没有第 %1 项（共 %2 项）")
                                 .arg(position)
                                 .arg(m_records.size()));
        return size_t(position - 1);
    }

    RecordPtr recordWithKey(const QString &key) const
    {
        if (!key.isEmpty()) {
            const auto it = m_byKey.constFind(foldedKey(key));
            if (it != m_byKey.cend())
                return it.value();
        }
        throwNoKey(key);
    }

    // Only Remove needs the position of a keyed record.
    size_t indexOfKey(const QString &key) const
    {
        const Record *record = recordWithKey(key).get();
        for (size_t i = m_records.size(); i-- > 0;) {
            if (m_records[i].get() == record)
                return i;
        }
        throwNoKey(key);
    }

    size_t indexOf(const QVariant &indexKey) const
    {
        if (isKeyVariant(indexKey))
            return indexOfKey(indexKey.toString());
        switch (indexKey.typeId()) {
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
            return checkedIndex(indexKey.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float: {
            // Rounded half to even, as a numeric index always was.
            const double d = std::nearbyint(indexKey.toDouble());
            return checkedIndex(d >= 1 && d <= double(m_records.size()) ? qint64(d) : 0);
        }
        default:
            throw ModelError(QStringLiteral("集合的索引应为位置或关键字，不能是%1")
                                 .arg(indexKey.isValid() ? QString::fromLatin1(indexKey.typeName())
                                                         : QStringLiteral("空值")));
        }
    }

    void removeAt(size_t index)
    {
        const Record *record = m_records[index].get();
        // Removing is rare next to lookups, so the key is found by its record.
        for (auto it = m_byKey.begin(); it != m_byKey.end(); ++it) {
            if (it.value().get() == record) {
                m_byKey.erase(it);
                break;
            }
        }
        m_records.erase(m_records.begin() + qsizetype(index));
    }

    std::vector<RecordPtr> m_records;
    QHash<QString, RecordPtr> m_byKey; // case-folded key
};

} // namespace vorlane
