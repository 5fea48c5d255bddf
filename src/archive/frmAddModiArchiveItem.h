#pragma once

#include "ArchiveEditor.h"
#include "ArchiveItemRules.h"

#include "model/clsHrCT.h"
#include "model/clsHrSysSetDict.h"

#include <optional>

class QCheckBox;
class QLineEdit;

namespace vorlane {

// The archive item editor: adds codes under one parent ("增加档案项"), staying open for the next
// one, or changes one code ("修改档案项"). clsManagefrm sets the mode ("A" or "M"), the table code
// and, for "A", the parent's code, level and node key, for "M" the code in the parent code slot;
// every showing loads the dialog afresh from that state.
class frmAddModiArchiveItem : public ArchiveEditor
{
    Q_OBJECT

public:
    explicit frmAddModiArchiveItem(QWidget *parent = nullptr);

    QString TableCode() const { return m_parent.tableCode; }
    void setTableCode(const QString &tableCode) { m_parent.tableCode = tableCode; }
    // Add mode: the parent's code ("" under a class node); modify mode: the code to change.
    QString ParentCode() const { return m_parent.parentCode; }
    void setParentCode(const QString &code) { m_parent.parentCode = code; }
    int ParentLevel() const { return m_parent.parentLevel; }
    void setParentLevel(int level) { m_parent.parentLevel = level; }
    QString ParentNodeKey() const { return m_parent.parentNodeKey; }
    void setParentNodeKey(const QString &key) { m_parent.parentNodeKey = key; }

    // Clears and fills the boxes for the state set (done on every showing).
    void FormLoad() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ArchiveItemInput input() const;
    void clearFields();
    void save() override;
    void saveModified() override;
    void nameLeft();

    ArchiveItemParent m_parent;
    clsHrSysSetDict m_class;
    std::optional<clsHrCT> m_code;

    QLineEdit *m_txtCode;
    QLineEdit *m_txtName;
    QLineEdit *m_txtDescription;
    QLineEdit *m_txtSpell;
    QLineEdit *m_txtMemo;
    QCheckBox *m_chkHide;
};

} // namespace vorlane
