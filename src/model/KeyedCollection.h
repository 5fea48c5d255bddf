#pragma once

#include "KeyIndex.h"
#include "ModelError.h"

#include <QString>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace vorlane {

namespace db {
class Connection;
}

// Ordered, keyed list of shared records: positions 1 to Count in insertion order, optional text
// keys unique without regard to letter case. Item hands out the collection's own record, so
// changing it changes the collection's content. Records are allocated in blocks of up to about
// 32 KB: a record handed out keeps its whole block alive.
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
        RecordPtr record = newRecord();
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
    bool Exists(const QString &key) const { return m_keys.find(key) >= 0; }
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
        m_blocks = {};
    }

    // Snapshot of the records in order, safe to walk while the collection changes.
    std::vector<RecordPtr> NewEnum() const { return m_records; }

    const_iterator begin() const { return m_records.cbegin(); }
    const_iterator end() const { return m_records.cend(); }

protected:
    // Appends an existing record; the same rules for keys as Add.
    void append(QStringView key, const RecordPtr &record)
    {
        m_records.push_back(record);
        if (!m_keys.append(key)) {
            m_records.pop_back();
            throw ModelError(QStringLiteral("集合中已有关键字“%1”").arg(key));
        }
    }

    // A new record with its defaults.
    RecordPtr newRecord() { return m_blocks.newRecord(); }

    // Load's row loops, defined in CollectionLoader.h.
    template<class RowKey>
    bool loadRows(db::Connection &conn, const QString &sql, RowKey rowKey);
    // recordKey(record, keyText) appends the record's key to keyText.
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

    RecordPtr recordWithKey(const QString &key) const { return m_records[indexOfKey(key)]; }

    size_t indexOfKey(const QString &key) const
    {
        const qsizetype index = m_keys.find(key);
        if (index < 0)
            throwNoKey(key);
        return size_t(index);
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
        m_keys.removeAt(qsizetype(index));
        m_records.erase(m_records.begin() + qsizetype(index));
    }

    // Records are allocated in blocks; each shares its block's lifetime (aliasing shared_ptr).
    class RecordBlocks
    {
    public:
        RecordBlocks() = default;
        // A copy of a collection fills blocks of its own.
        RecordBlocks(const RecordBlocks &) {}
        RecordBlocks &operator=(const RecordBlocks &) { return *this; }
        RecordBlocks(RecordBlocks &&) noexcept = default;
        RecordBlocks &operator=(RecordBlocks &&) noexcept = default;

        RecordPtr newRecord()
        {
            if (!m_block || m_block->size() == m_block->capacity()) {
                m_block = std::make_shared<std::vector<Record>>();
                m_block->reserve(m_nextSize);
                m_nextSize = std::min(2 * m_nextSize, LargestBlock);
            }
            // Within its capacity the block never moves, so the record's address stays valid.
            m_block->emplace_back();
            return RecordPtr(m_block, &m_block->back());
        }

    private:
        // About 32 KB: larger blocks would come from mmap and be zeroed on every load.
        static constexpr size_t LargestBlock = std::max<size_t>(1, 32768 / sizeof(Record));

        std::shared_ptr<std::vector<Record>> m_block;
        size_t m_nextSize = 4;
    };

    std::vector<RecordPtr> m_records;
    KeyIndex m_keys; // by position, like m_records
    RecordBlocks m_blocks;
};

} // namespace vorlane
