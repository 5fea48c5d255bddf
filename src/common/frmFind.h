#pragma once

#include "EditorDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlane {

// What a browser looks for: field, comparison and value, as the find dialog hands them over.
struct FindState
{
    QString FindField;
    QString FindOperator;
    QString FindValue;

    void clear()
    {
        FindField.clear();
        FindOperator.clear();
        FindValue.clear();
    }
    bool isEmpty() const { return FindField.isEmpty(); }
};

// Whether a text matches the value under one of the find comparisons: "等于" and "不等于"
// compare case-insensitively (both in upper case), "包含" and "不包含" look for the value
// inside the text, exactly or ignoring letter case as containsCase says (the structure browser
// looks exactly, the archive browser ignores case). Any other comparison matches nothing.
bool FindMatches(const QString &text,
                 const QString &findOperator,
                 const QString &value,
                 Qt::CaseSensitivity containsCase = Qt::CaseSensitive);

// The find dialog ("定位"): the user states a field, a comparison and a value; the browser that
// opened it does the searching. The context tells which browser: "信息集" (structure browser)
// or "档案类" (archive browser).
class frmFind : public EditorDialog
{
    Q_OBJECT

public:
    static const QString InfoSetContext;      // "信息集"
    static const QString ArchiveClassContext; // "档案类"

    explicit frmFind(QWidget *parent = nullptr);

    // The hand-over in one call: a fresh dialog for the context and the browser's find state,
    // shown modally over parent. True when the user confirmed a value (the state then holds it).
    static bool run(QWidget *parent, const QString &context, FindState &state);
    // State first, then context: loading for the context is what resets the archive state.
    void prepare(const QString &context, FindState *state);

    QString Context() const { return m_context; }
    // Set before the dialog is shown; fills the field list for that context.
    void setContext(const QString &context);

    // The opening browser's find state. The archive browser's state is emptied when the dialog
    // loads; on 确定 the state of the context's browser receives field, comparison and value.
    void setFindState(FindState *state) { m_state = state; }

    // Fills the field list for the context and, for the archive browser, empties its state.
    void FormLoad() override;

    QComboBox *cboField() const { return m_cboField; }
    QComboBox *cboSign() const { return m_cboSign; }
    QLineEdit *txtValue() const { return m_txtValue; }
    QPushButton *cmdOk() const { return m_cmdOk; }
    QPushButton *cmdExit() const { return m_cmdExit; }

Q_SIGNALS:
    // 确定 with a value, for the contexts "信息集" and "档案类".
    void findRequested(const QString &field, const QString &findOperator, const QString &value);

private:
    void cmdOkClick();

    QString m_context;
    FindState *m_state = nullptr;
    QLabel *m_label1;
    QComboBox *m_cboField;
    QLabel *m_label3;
    QComboBox *m_cboSign;
    QLabel *m_label4;
    QLineEdit *m_txtValue;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdExit;
};

} // namespace vorlane
