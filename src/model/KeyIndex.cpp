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
{
    m_keys.reserve(other.m_keys.size());
    for (const Key &key : other.m_keys)
        m_keys.push_back({key.size ? store(QStringView(key.text, key.size)) : nullptr, key.size});
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
    if (key.isEmpty()) {
        m_keys.push_back({});
        return true;
    }
    KeyText folded;
    foldKey(key, folded);
    const QStringView view(folded.constData(), folded.size());
    const quint32 hash = quint32(qHash(view));
    if (2 * (m_count + 1) > qsizetype(m_slots.size()))
        grow();
    // One probe run both looks for the key and ends at the free slot it goes to.
    const size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    for (; m_slots[i].position >= 0; i = (i + 1) & mask) {
        if (m_slots[i].hash == hash) {
            const Key &other = m_keys[size_t(m_slots[i].position)];
            if (other.size == view.size() && sameText(other.text, view))
                return false;
        }
    }
    m_slots[i] = {hash, qint32(m_keys.size())};
    ++m_count;
    m_keys.push_back({store(view), view.size()});
    return true;
}

void KeyIndex::removeAt(qsizetype position)
{
    const Key removed = m_keys[size_t(position)];
    m_keys.erase(m_keys.begin() + position);
    if (removed.size == 0)
        return;
    const size_t mask = m_slots.size() - 1;
    const QStringView text(removed.text, removed.size);
    size_t i = qHash(text) & mask;
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
    m_blocks.clear();
    m_free = nullptr;
    m_left = 0;
    m_nextBlock = 256;
}

void KeyIndex::grow()
{
    const size_t size = std::max<size_t>(16, 2 * m_slots.size());
    const std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size));
    const size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.position < 0)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].position >= 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
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
