#pragma once

#include "ArchiveClassActions.h"

#include "common/EditorDialog.h"

#include <optional>

class QCheckBox;
class QValidator;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace vorlane {

// The archive class editor: creates a code table ("增加档案类") or changes one ("修改档案类").
// clsManagefrm sets the mode ("A" or "M") and, for "M", the table code, then shows it; every
// showing loads the dialog afresh from that state.
class frmAddModifyArchive : public EditorDialog
{
    Q_OBJECT

public:
    explicit frmAddModifyArchive(QWidget *parent = nullptr);

    QString Mode() const { return m_mode; }
    void setMode(const QString &mode) { m_mode = mode; }
    QString TableCode() const { return m_tableCode; }
    void setTableCode(const QString &tableCode) { m_tableCode = tableCode; }

    // Clears and fills the boxes for the mode and table code set (done on every showing).
    void FormLoad() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ArchiveClassInput input() const;
    void setInput(const ArchiveClassInput &fields);
    // Shows a refusal or failure and puts the focus where it points.
    void report(const ArchiveEditResult &result);
    void cmdOkClick();
    void save();
    void saveModified();

    QString m_mode;
    QString m_tableCode;
    std::optional<clsHrSysSetDict> m_record;
    bool m_checkingName = false;

    QValidator *m_digits;
    QGroupBox *m_frame;
    QLineEdit *m_txtCode;
    QLineEdit *m_txtName;
    QLineEdit *m_txtDescription;
    QLineEdit *m_txtMemo;
    QLineEdit *m_txtShowOrder;
    QCheckBox *m_chkLevels;
    QCheckBox *m_chkHide;
    QCheckBox *m_chkSys;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdQuit;
};

} // namespace vorlane
