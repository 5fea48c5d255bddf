#include "KeyIndex.h"

#include <QHash>
#include <QString>

#include <algorithm>
#include <cstring>
#include <utility>

namespace vorlane {

namespace {

constexpr qsizetype LargestBlock = 16384; // characters; keeps blocks off the mmap path

bool sameText(const char16_t *a, QStringView b)
{
    return std::memcmp(a, b.utf16(), size_t(b.size()) * sizeof(char16_t)) == 0;
}

} // namespace

void foldKey(QStringView key, KeyText &folded)
{
    const qsizetype start = folded.size();
    folded.resize(start + key.size());
    char16_t *out = folded.data() + start;
    for (qsizetype i = 0; i < key.size(); ++i) {
        char16_t c = key[i].unicode();
        if (c >= 0x80) {
            folded.resize(start);
            const QString unicode = key.toString().toCaseFolded();
            folded.append(reinterpret_cast<const char16_t *>(unicode.utf16()), unicode.size());
            return;
        }
        if (c >= u'A' && c <= u'Z')
            c += u'a' - u'A';
        out[i] = c;
    }
}

void appendTrimmed(KeyText &key, QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    key.append(text.utf16() + begin, end - begin);
}

KeyIndex::KeyIndex(const KeyIndex &other)
    : m_slots(other.m_slots)
    , m_count(other.m_count)
    , m_indexed(other.m_indexed)
{
    m_keys.reserve(other.m_keys.size());
    for (const Key &key : other.m_keys)
        m_keys.push_back(
            {key.size ? store(QStringView(key.text, key.size)) : nullptr, key.size, key.hash});
}

KeyIndex &KeyIndex::operator=(const KeyIndex &other)
{
    if (this != &other)
        *this = KeyIndex(other);
    return *this;
}

qsizetype KeyIndex::findFolded(QStringView folded, size_t hash) const
{
    if (m_slots.empty())
        return -1;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.position < 0)
            return -1;
        if (slot.hash == quint32(hash)) {
            const Key &key = m_keys[size_t(slot.position)];
            if (key.size == folded.size() && sameText(key.text, folded))
                return slot.position;
        }
    }
}

qsizetype KeyIndex::find(QStringView key) const
{
    if (key.isEmpty())
        return -1;
    KeyText folded;
    foldKey(key, folded);
    const QStringView view(folded.constData(), folded.size());
    return findFolded(view, qHash(view));
}

bool KeyIndex::append(QStringView key)
{
    Q_ASSERT(m_indexed == qsizetype(m_keys.size()));
    if (!appendDeferred(key)) {
        m_indexed = qsizetype(m_keys.size());
        return true;
    }
    reserve(1);
    if (insert(m_keys.size() - 1))
        return true;
    m_keys.pop_back();
    return false;
}

bool KeyIndex::appendDeferred(QStringView key)
{
    if (key.isEmpty()) {
        m_keys.push_back({});
        return false;
    }
    KeyText folded;
    foldKey(key, folded);
    const QStringView view(folded.constData(), folded.size());
    m_keys.push_back({store(view), qint32(view.size()), quint32(qHash(view))});
    return true;
}

qsizetype KeyIndex::commitDeferred()
{
    const size_t from = size_t(m_indexed);
    reserve(qsizetype(m_keys.size() - from));
    const size_t mask = m_slots.size() - 1;
    // The slots are far apart in a large table: ask for them a few keys ahead.
    constexpr size_t Ahead = 8;
    for (size_t p = from; p < m_keys.size(); ++p) {
        if (p + Ahead < m_keys.size())
            __builtin_prefetch(&m_slots[m_keys[p + Ahead].hash & mask]);
        if (m_keys[p].size != 0 && !insert(p)) {
            m_keys.resize(p);
            m_indexed = qsizetype(p);
            return qsizetype(p);
        }
    }
    m_indexed = qsizetype(m_keys.size());
    return -1;
}

bool KeyIndex::insert(size_t position)
{
    const Key &key = m_keys[position];
    const QStringView view(key.text, key.size);
    // One probe run both looks for the key and ends at the free slot it goes to.
    const size_t mask = m_slots.size() - 1;
    size_t i = key.hash & mask;
    for (; m_slots[i].position >= 0; i = (i + 1) & mask) {
        if (m_slots[i].hash == key.hash) {
            const Key &other = m_keys[size_t(m_slots[i].position)];
            if (other.size == key.size && sameText(other.text, view))
                return false;
        }
    }
    m_slots[i] = {key.hash, qint32(position)};
    ++m_count;
    m_indexed = qsizetype(position) + 1;
    return true;
}

void KeyIndex::reserve(qsizetype more)
{
    size_t size = std::max<size_t>(16, m_slots.size());
    while (2 * size_t(m_count + more) > size)
        size *= 2;
    if (size == m_slots.size())
        return;
    const std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size));
    const size_t mask = size - 1;
    for (const Slot &slot : old) {
        if (slot.position < 0)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].position >= 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

void KeyIndex::removeAt(qsizetype position)
{
    const Key removed = m_keys[size_t(position)];
    m_keys.erase(m_keys.begin() + position);
    m_indexed = qsizetype(m_keys.size());
    if (removed.size == 0)
        return;
    const size_t mask = m_slots.size() - 1;
    size_t i = removed.hash & mask;
    while (m_slots[i].position != position)
        i = (i + 1) & mask;
    // Backward-shift deletion: later members of the probe run move into the gap when their home
    // slot allows it, so that no run is broken.
    for (size_t j = i;;) {
        j = (j + 1) & mask;
        if (m_slots[j].position < 0)
            break;
        const size_t home = m_slots[j].hash & mask;
        const bool stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
        if (!stays) {
            m_slots[i] = m_slots[j];
            i = j;
        }
    }
    m_slots[i] = {};
    --m_count;
    for (Slot &slot : m_slots) {
        if (slot.position > position)
            --slot.position;
    }
}

void KeyIndex::clear()
{
    m_slots = {};
    m_keys = {};
    m_count = 0;
    m_indexed = 0;
    m_blocks.clear();
    m_free = nullptr;
    m_left = 0;
    m_nextBlock = 256;
}

const char16_t *KeyIndex::store(QStringView folded)
{
    const qsizetype n = folded.size();
    if (n > m_left) {
        const qsizetype size = std::max(n, m_nextBlock);
        m_nextBlock = std::min(2 * m_nextBlock, LargestBlock);
        m_blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(size_t(size)));
        m_free = m_blocks.back().get();
        m_left = size;
    }
    char16_t *text = m_free;
    std::memcpy(text, folded.utf16(), size_t(n) * sizeof(char16_t));
    m_free += n;
    m_left -= n;
    return text;
}

} // namespace vorlane
