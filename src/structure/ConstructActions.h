#pragma once

#include <QString>

namespace vorlane {

// What a delete did, and the message the window shows for it.
struct DeleteResult
{
    bool ok = false;
    // The rows (and column or table) are gone; false after a soft delete or a failure.
    bool removed = false;
    QString message;
};

// The structure browser's checks and deletes on the shared connection. A refusal is a message
// (empty: go on); a delete runs its data check and the set and item services in one transaction
// and rolls everything back when one of them fails. Database errors of the checks pass to the
// caller (the transaction rolled back).
class ConstructActions
{
public:
    // Whether hr_sys_setdict says bsysflag 0 for the set (a missing row or NULL reads as 0).
    static bool IsSystemSet(const QString &setCode);

    // Delete item: the system item (the code part of the "是否自定义" label is "0") and the
    // voucher and authorisation references, checked before the user confirms.
    static QString ItemDeleteRefusal(const QString &tableCode,
                                     const QString &itemCode,
                                     const QString &customLabel);
    // A column holding data only flags the item deleted; an empty one is dropped with its row.
    static DeleteResult DeleteItem(const QString &tableCode, const QString &itemCode);

    // Delete set: a system set, and voucher or authorisation references to it.
    static QString SetDeleteRefusal(const QString &setCode);
    // A table holding rows only flags the set deleted; an empty one goes with its item rows.
    static DeleteResult DeleteSet(const QString &setCode);
};

} // namespace vorlane
