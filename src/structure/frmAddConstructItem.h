#pragma once

#include "ItemActions.h"

#include "common/EditorDialog.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlane {

class ItemInputs;

// "增加信息项": collects new items of one information set in a pending list (lvwXJ), where an
// entry can be recalled for correction or deleted, and creates them all in one commit.
class frmAddConstructItem : public EditorDialog
{
    Q_OBJECT

public:
    explicit frmAddConstructItem(QWidget *parent = nullptr);

    // The launcher's hand-over: the set code. Starts the dialog afresh for that set.
    void prepare(const QString &tableCode);

    QString tableCode() const { return m_creation.tableCode(); }
    QString tableName() const { return m_creation.tableName(); }

    // Starts the dialog afresh for the set prepared.
    void FormLoad() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum Mode { Entering = 0, Correcting = 2 };

    void clearAndReset();
    QList<ItemInput> pendingEntries() const;
    void setEntryRow(QTreeWidgetItem *row, const ItemInput &entry);
    bool refused(const ActionResult &result);

    void cmdSureClick();
    void addEntry();
    void updateEntry();
    void recall(QTreeWidgetItem *row);
    void cmdAddClick();
    void cmdDelClick();
    void cmdOkClick();

    ItemCreation m_creation;
    ItemInputs *m_inputs;
    QTreeWidget *m_lvwXJ;
    QPushButton *m_cmdSure;
    QPushButton *m_cmdAdd;
    QPushButton *m_cmdDel;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdQuit;
    Mode m_mode = Entering;
};

} // namespace vorlane
