#pragma once

#include "ArchiveClassActions.h"
#include "ArchiveEditor.h"

#include <optional>

class QCheckBox;
class QLineEdit;

namespace vorlane {

// The archive class editor: creates a code table ("增加档案类") or changes one ("修改档案类").
// clsManagefrm sets the mode ("A" or "M") and, for "M", the table code, then shows it; every
// showing loads the dialog afresh from that state.
class frmAddModifyArchive : public ArchiveEditor
{
    Q_OBJECT

public:
    explicit frmAddModifyArchive(QWidget *parent = nullptr);

    QString TableCode() const { return m_tableCode; }
    void setTableCode(const QString &tableCode) { m_tableCode = tableCode; }

    // Clears and fills the boxes for the mode and table code set (done on every showing).
    void FormLoad() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ArchiveClassInput input() const;
    void setInput(const ArchiveClassInput &fields);
    void save() override;
    void saveModified() override;

    QString m_tableCode;
    std::optional<clsHrSysSetDict> m_record;

    QLineEdit *m_txtCode;
    QLineEdit *m_txtName;
    QLineEdit *m_txtDescription;
    QLineEdit *m_txtMemo;
    QLineEdit *m_txtShowOrder;
    QCheckBox *m_chkLevels;
    QCheckBox *m_chkHide;
    QCheckBox *m_chkSys;
};

} // namespace vorlane
