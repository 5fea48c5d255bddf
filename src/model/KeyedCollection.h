#pragma once

#include "ModelError.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <cmath>
#include <memory>
#include <vector>

namespace vorlane {

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
        QString folded;
        if (!sKey.isEmpty()) {
            folded = sKey.toCaseFolded();
            if (m_byKey.contains(folded))
                throw ModelError(
                    QStringLiteral("The key \"%1\" is already in the collection").arg(sKey));
        }
        auto record = std::make_shared<Record>();
        m_records.push_back(record);
        m_keys.push_back(folded);
        if (!folded.isEmpty())
            m_byKey.insert(folded, record);
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
        return !key.isEmpty() && m_byKey.contains(key.toCaseFolded());
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
        m_keys.clear();
        m_byKey.clear();
    }

    // Snapshot of the records in order, safe to walk while the collection changes.
    std::vector<RecordPtr> NewEnum() const { return m_records; }

    const_iterator begin() const { return m_records.cbegin(); }
    const_iterator end() const { return m_records.cend(); }

    void reserve(qsizetype n)
    {
        m_records.reserve(size_t(n));
        m_keys.reserve(size_t(n));
        m_byKey.reserve(n);
    }

private:
    size_t checkedIndex(qint64 position) const
    {
        if (position < 1 || position > qint64(m_records.size()))
            throw ModelError(QStringLiteral("No record at position %1 of a collection of %2")
                                 .arg(position)
                                 .arg(m_records.size()));
        return size_t(position - 1);
    }

    static bool isKeyVariant(const QVariant &v)
    {
        const int type = v.typeId();
        return type == QMetaType::QString || type == QMetaType::QByteArray
               || type == QMetaType::QChar;
    }

    [[noreturn]] static void throwNoKey(const QString &key)
    {
        throw ModelError(
            QStringLiteral("No record with the key \"%1\" in the collection").arg(key));
    }

    RecordPtr recordWithKey(const QString &key) const
    {
        if (!key.isEmpty()) {
            const auto it = m_byKey.constFind(key.toCaseFolded());
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
            throw ModelError(
                QStringLiteral("A collection is indexed by a position or a key, not by %1")
                    .arg(indexKey.isValid() ? QString::fromLatin1(indexKey.typeName())
                                            : QStringLiteral("an empty value")));
        }
    }

    void removeAt(size_t index)
    {
        if (!m_keys[index].isEmpty())
            m_byKey.remove(m_keys[index]);
        m_records.erase(m_records.begin() + qsizetype(index));
        m_keys.erase(m_keys.begin() + qsizetype(index));
    }

    std::vector<RecordPtr> m_records;
    std::vector<QString> m_keys; // case-folded, empty for a record without key
    QHash<QString, RecordPtr> m_byKey;
};

} // namespace vorlane
