#pragma once

#include "SetEditorActions.h"

#include "common/EditorDialog.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace vorlane {

// The information set editor: adds a set under a table group ("A") or changes one ("M").
// The launchers set the state, then show it; every show loads the lists afresh. The rules and
// saves live in SetEditorActions; this class only wires the named controls to them.
class frmAddModifyConstruct : public EditorDialog
{
    Q_OBJECT

public:
    explicit frmAddModifyConstruct(QWidget *parent = nullptr);

    // Dialog state, set before showing, in this order.
    QString EditMode() const { return m_actions.EditMode; }
    void setEditMode(const QString &mode) { m_actions.EditMode = mode; }
    QString NodeKey() const { return m_actions.NodeKey(); }
    void setNodeKey(const QString &key) { m_actions.setNodeKey(key); }
    QString NodeKeyTail() const { return m_actions.NodeKeyTail(); }
    QString EditTableCode() const { return m_actions.EditTableCode; }
    void setEditTableCode(const QString &code) { m_actions.EditTableCode = code; }
    QString EditSysFlag() const { return m_actions.EditSysFlag; }
    void setEditSysFlag(const QString &flag) { m_actions.EditSysFlag = flag; }

    // Run on every showing: lists, mode and, when modifying, the set.
    void FormLoad() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void resetControls();
    void load();
    void loadLists();
    void loadSet();
    void typeOrCycleClick();
    void tableClassClick();
    void leaveBox(QLineEdit *box);
    void cmdOkClick();
    SetEditorInput input() const;
    void showResult(const SetEditResult &result);
    QLineEdit *boxOf(SetField field) const;

    SetEditorActions m_actions;
    bool m_loading = false;

    QTabWidget *SSTab1;
    QFrame *Frame1;
    QFrame *Frame2;
    QLabel *Label1;
    QLineEdit *txtCode;
    QLabel *Label2;
    QLineEdit *txtName;
    QLabel *Label3;
    QLineEdit *txtDescription;
    QLabel *Label4;
    QComboBox *cboType;
    QLabel *Label5;
    QComboBox *cboCycle;
    QLabel *Label6;
    QLineEdit *txtPtable;
    QLabel *Label7;
    QLineEdit *txtMemo;
    QLabel *Label9;
    QComboBox *cboTableClass;
    QLabel *Label10;
    QLineEdit *txtShowOrder;
    QCheckBox *chkSys;
    QCheckBox *chkDisplay;
    QLabel *lblNote;
    QLabel *Label8;
    QListWidget *lstFunc;
    QPushButton *cmdOk;
    QPushButton *cmdQuit;
};

} // namespace vorlane
