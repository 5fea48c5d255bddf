#include "clsManagefrmArchiveLaunchers.h"

#include "clsManagefrm.h"

namespace vorlane {

ArchiveEditorLaunchers clsManagefrmArchiveLaunchers()
{
    return {[](int nModal, QWidget *owner) { clsManagefrm().AddArchive(nModal, owner); },
            [](const QString &table, int nModal, QWidget *owner) {
                clsManagefrm().ModifyArchive(table, nModal, owner);
            },
            [](const QString &nodeKey,
               const QString &table,
               const QString &code,
               int level,
               int nModal,
               QWidget *owner) {
                clsManagefrm().AddArchiveItem(nodeKey, table, code, level, nModal, owner);
            },
            [](const QString &table, const QString &code, int nModal, QWidget *owner) {
                clsManagefrm().ModifyArchiveItem(table, code, nModal, owner);
            }};
}

} // namespace vorlane
