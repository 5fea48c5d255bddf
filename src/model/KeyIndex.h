#pragma once

#include <QStringView>
#include <QVarLengthArray>

#include <memory>
#include <vector>

namespace vorlane {

// Text of a key while it is built or folded; on the stack for keys of usual length.
using KeyText = QVarLengthArray<char16_t, 64>;

// Keys compare without regard to letter case. Codes are nearly always ASCII, where folding is
// lower-casing; anything else goes through Unicode case folding. Appends to folded.
void foldKey(QStringView key, KeyText &folded);

// Appends text without the blanks at both ends (the padding of fixed-width columns).
void appendTrimmed(KeyText &key, QStringView text);

// The keys of a keyed collection, one entry per record in order (empty for a record without key),
// found without regard to letter case. Collections of 100 000 items load all the time, so adding
// a key allocates nothing of its own: the folded texts share blocks and the table is open
// addressing on positions. Removing is rare and walks the table.
class KeyIndex
{
public:
    KeyIndex() = default;
    KeyIndex(const KeyIndex &other);
    KeyIndex &operator=(const KeyIndex &other);
    KeyIndex(KeyIndex &&) noexcept = default;
    KeyIndex &operator=(KeyIndex &&) noexcept = default;

    // Position (from 0) of the record under key, or -1.
    qsizetype find(QStringView key) const;
    // Appends an entry for the next record; false, adding nothing, when a non-empty key is there
    // already in any letter case. The empty key is no key.
    bool append(QStringView key);
    // Loading many records: appends entries whose keys are checked and found only after
    // commitDeferred, which takes them in order. At the first key that is there already it drops
    // that entry and those after it and returns its position; otherwise it returns -1. Returns
    // whether key is a key (not empty).
    bool appendDeferred(QStringView key);
    qsizetype commitDeferred();
    // Drops the entry at position; the later ones move up.
    void removeAt(qsizetype position);
    void clear();

private:
    struct Slot
    {
        quint32 hash = 0;
        qint32 position = -1; // -1: empty
    };
    struct Key
    {
        const char16_t *text = nullptr; // case-folded, in one of m_blocks
        qint32 size = 0;
        quint32 hash = 0;
    };

    qsizetype findFolded(QStringView folded, size_t hash) const;
    bool insert(size_t position); // into the table, which has room; false when there already
    void reserve(qsizetype more); // room for more keys in the table
    const char16_t *store(QStringView folded);

    std::vector<Slot> m_slots; // size is 0 or a power of two, at most half full
    std::vector<Key> m_keys;   // by position
    qsizetype m_count = 0;     // occupied slots
    qsizetype m_indexed = 0;   // entries before it are in the table
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    char16_t *m_free = nullptr;
    qsizetype m_left = 0;
    qsizetype m_nextBlock = 256;
};

} // namespace vorlane
