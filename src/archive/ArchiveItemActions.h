#pragma once

#include "ArchiveEditResult.h"
#include "ArchiveItemRules.h"

#include "model/clsHrCT.h"
#include "model/clsHrSysSetDict.h"

namespace vorlane {

class ArchiveBrowser;

// Add mode: the input check, the name test, the parent prefix rule, the sibling length rule and
// the code test, in this order; then, in one transaction, the new code and (in a multi-level
// class) the parent's child flag. A code that breaks the prefix rule reaches no statement.
// The new code's system flag is the class's with optFlag 0, user-defined ("1") otherwise.
ArchiveEditResult AddArchiveItem(const ArchiveItemParent &parent,
                                 const clsHrSysSetDict &archiveClass,
                                 const ArchiveItemInput &input,
                                 const ArchiveBrowser *browser,
                                 qint16 optFlag);

// Modify mode, before the confirmation: the name test when the name changed, then the input check.
ArchiveEditResult CheckArchiveItemModify(const QString &tableCode,
                                         const clsHrCT &loaded,
                                         const ArchiveItemInput &input);
// Modify mode, after the confirmation: rewrites the code, its hide flag spread to the codes below.
ArchiveEditResult
ModifyArchiveItem(const QString &tableCode, const clsHrCT &loaded, const ArchiveItemInput &input);

} // namespace vorlane
