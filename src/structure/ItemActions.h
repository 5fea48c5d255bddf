#pragma once

#include "ItemRules.h"

#include "model/clsHrSysDataFormats.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDict.h"
#include "model/clsHrSysSetDicts.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vorlane {

// The outcome of a check or a save: the message to show (empty: none) and the field that gets
// the focus when a check failed.
struct ActionResult
{
    bool ok = true;
    QString message;
    ItemField focus = ItemField::None;

    static ActionResult failed(const RuleFailure &failure)
    {
        return {false, failure.message, failure.focus};
    }
};

// The lists both item dialogs offer: data types, date formats and reference sets.
class ItemLists
{
public:
    // The data types follow the login context's OptFlag; attendance sets are left out of the
    // references unless withAttendance.
    void load(bool withAttendance);
    void clear();

    const clsHrSysDataTypes &types() const { return m_types; }
    // "id-description" per data type.
    QStringList typeEntries() const;
    // An empty entry, then "name-code" per reference set.
    QStringList refEntries() const;
    // An empty entry, then "id-pattern" per date format.
    QStringList formatEntries() const;

private:
    clsHrSysDataTypes m_types;
    clsHrSysDataFormats m_formats;
    clsHrSysSetDicts m_refSets;
};

// The item creation dialog's work: the checks that need the dictionary and the one-transaction
// commit of the pending entries.
class ItemCreation
{
public:
    // Keeps the set code and reads the set's name (empty when there is none).
    void prepare(const QString &tableCode);
    // Reads the attendance flag and loads the lists.
    void load();
    void release() { m_lists.clear(); }

    QString tableCode() const { return m_tableCode; }
    QString tableName() const { return m_tableName; }
    const ItemLists &lists() const { return m_lists; }

    // A new entry: field, required, length and default checks (the date default rewritten in
    // place), then code and name unique among the pending entries and the set's items.
    ActionResult checkNew(ItemInput &input, const QList<ItemInput> &pending) const;
    // A recalled entry: the same without the uniqueness checks.
    ActionResult checkCorrection(ItemInput &input) const;
    // The display order of an entry without one: the browser's grid rows plus the pending
    // entries, the new one included.
    static QString defaultShowOrder(int pendingWithNew);

    // Writes every pending entry and adds their columns in one transaction. On success the
    // structure browser's grid is brought up to date and the message tells about vouchers.
    ActionResult commit(const QList<ItemInput> &pending);

private:
    QString m_tableCode;
    QString m_tableName;
    bool m_attendance = false;
    ItemLists m_lists;
};

// The item modification dialog's work: the item as stored, what may change, and the commit.
class ItemModification
{
public:
    void prepare(const QString &tableCode, const QString &itemCode);
    // Loads the lists, the item (kept only when exactly one row matches) and its data state.
    void load();
    void release() { m_lists.clear(); }

    QString tableCode() const { return m_tableCode; }
    QString itemCode() const { return m_itemCode; }
    const ItemLists &lists() const { return m_lists; }
    bool hasRecord() const { return m_found; }
    const clsHrSysItemDict &record() const { return m_record; }
    int storedLength() const { return m_storedLength; }
    int storedDecimals() const { return m_storedDecimals; }
    // Whether the item's column holds a value in any row; an unreadable column counts as
    // holding data, so that its reference stays as it is.
    bool columnHasData() const { return m_hasData; }

    // Required and name checks, then the length checks and the no-shrink rule.
    ActionResult check(const ItemInput &input) const;
    // Rewrites the item row and, for types with a length, alters the column, in one transaction.
    ActionResult commit(const ItemInput &input);

private:
    QString m_tableCode;
    QString m_itemCode;
    ItemLists m_lists;
    clsHrSysItemDict m_record;
    bool m_found = false;
    int m_storedLength = 0;
    int m_storedDecimals = 0;
    bool m_hasData = false;
};

} // namespace vorlane
