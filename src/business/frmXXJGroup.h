#pragma once

#include "common/EditorDialog.h"

#include <QPointer>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vorlane {

class frmOperationFlowUI;

// Category membership: which information sets of one table group belong to a business category.
class frmXXJGroup : public EditorDialog
{
    Q_OBJECT

public:
    explicit frmXXJGroup(QWidget *parent = nullptr);

    // Set by the browser before showing; trimmed when the dialog loads.
    void setCategoryCode(const QString &code) { m_categoryCode = code; }
    void setCategoryName(const QString &name) { m_categoryName = name; }
    void setBrowser(frmOperationFlowUI *browser) { m_browser = browser; }

    // Form_Load: caption, groups, members of the first group, HMJZ.
    void FormLoad() override;

private:
    void loadSets();
    void selectAll(bool selected);
    void save();

    QString m_categoryCode;
    QString m_categoryName;
    QPointer<frmOperationFlowUI> m_browser;

    QGroupBox *m_frame1;
    QLabel *m_label1;
    QComboBox *m_cboLb;
    QListWidget *m_lstXxj;
    QPushButton *m_cmdSel;
    QPushButton *m_command2;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdQuit;
};

} // namespace vorlane
