#pragma once

#include <QString>
#include <QVariant>

class QWidget;

namespace vorlane {

// Opens the add and modify dialogs of information sets, information items, archive classes and
// archive items. Opens no connection: it relies on a live clsShowForm. Each dialog is one instance,
// reused by every later call with its state set again. nModal 1 returns when the dialog closes.
class clsManagefrm
{
public:
    void AddArchive(int nModal, QWidget *oOwnerForm);
    void ModifyArchive(const QString &TableCode, int nModal, QWidget *oOwnerForm);
    void AddArchiveItem(const QString &sNodeKey,
                        const QString &strTable,
                        const QString &CodeId,
                        int nLevel,
                        int nModal,
                        QWidget *oOwnerForm);
    void ModifyArchiveItem(const QString &TableCode,
                           const QString &CodeId,
                           int nModal,
                           QWidget *oOwnerForm);
    void AddConstructG(int nModal, QWidget *oOwnerForm);
    void AddConstruct(const QString &sNodeKey, int nModal, QWidget *oOwnerForm);
    void ModifyConstruct(const QString &sTable,
                         const QString &sNodeKey,
                         const QString &sSys,
                         int nModal,
                         QWidget *oOwnerForm);
    void AddConstructItem(const QString &sNodeKey, int nModal, QWidget *oOwnerForm);
    void ModifyConstructItem(const QString &sTable,
                             const QVariant &sItemCode,
                             int nModal,
                             QWidget *oOwnerForm);
};

} // namespace vorlane
