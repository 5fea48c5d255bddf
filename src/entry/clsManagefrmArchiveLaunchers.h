#pragma once

#include "archive/frmArchiveUI.h"

namespace vorlane {

// The archive browser's editor launchers as clsManagefrm opens the editors: its AddArchive,
// ModifyArchive, AddArchiveItem and ModifyArchiveItem.
ArchiveEditorLaunchers clsManagefrmArchiveLaunchers();

} // namespace vorlane
