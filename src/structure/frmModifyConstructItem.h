#pragma once

#include "ItemActions.h"

#include "common/EditorDialog.h"

class QPushButton;

namespace vorlane {

class ItemInputs;

// "修改信息项": changes one item of one information set. What may change follows the item's
// data type and whether its column holds data; lengths and decimals only grow.
class frmModifyConstructItem : public EditorDialog
{
    Q_OBJECT

public:
    explicit frmModifyConstructItem(QWidget *parent = nullptr);

    // The launcher's hand-over, in its order; the item code starts the dialog afresh.
    void setTableCode(const QString &tableCode);
    void setItemCode(const QString &itemCode);

    QString tableCode() const { return m_modification.tableCode(); }
    QString itemCode() const { return m_modification.itemCode(); }

    // Starts the dialog afresh for the item prepared.
    void FormLoad() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showRecord();
    void cmdOkClick();

    ItemModification m_modification;
    QString m_tableCode;
    ItemInputs *m_inputs;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdQuit;
};

} // namespace vorlane
