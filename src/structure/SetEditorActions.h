#pragma once

#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysSetDict.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace vorlane {

// The boxes of the information set editor that a failed check sends the focus to.
enum class SetField { None, Code, Name, Description, ParentTable, Memo };

// Outcome of a check or a save: the message to show (empty: none) and where the focus goes.
struct SetEditResult
{
    bool ok = false;
    QString message;
    SetField focus = SetField::None;
};

// What the editor's controls hold when the user confirms.
struct SetEditorInput
{
    QString code;
    QString name;
    QString description;
    QString parentTable;
    QString memo;
    QString showOrder;
    QString typeText;              // current entry of cboType
    QString cycleText;             // of cboCycle
    QString classText;             // of cboTableClass
    QStringList selectedFunctions; // selected entries of lstFunc
    bool functionsEnabled = true;
    int sysValue = 1;     // chkSys, 0 or 1
    int displayValue = 1; // chkDisplay, 0 or 1
};

struct TableClassRow
{
    qint32 id = 0;
    QString name;
    QString memo;
};

struct FunctionRow
{
    qint32 FunctionID = 0;
    QString FunctionName;
    QString Memo;
};

// The information set editor without its widgets: the dialog state the launchers set, the lists
// and their statements, the field rules and the add and modify saves. Saves run in one
// transaction on the shared connection and bring the open structure browser up to date.
class SetEditorActions
{
public:
    static const QString Title; // "人事信息管理"

    // Dialog state, set by the launchers in this order.
    QString EditMode; // "A" add, "M" modify
    QString NodeKey() const { return m_nodeKey; }
    void setNodeKey(const QString &key);
    // NodeKey without its first character (the group code of a group node key).
    QString NodeKeyTail() const { return m_nodeKeyTail; }
    QString EditTableCode;
    QString EditSysFlag; // "0" system set, "1" user set

    bool isAdd() const { return EditMode == u"A"; }

    // The fixed entries of cboType and cboCycle.
    static QStringList typeEntries();
    static QStringList cycleEntries();

    // Statements of the function and table class lists for the current state.
    static QString functionStatement(bool attendanceStarted);
    QString tableClassStatement(qint16 optFlag) const;

    // Loads data types, functions (all of them only when attendance has started) and table
    // classes. Statement errors pass as db::DbError.
    void loadLists(qint16 optFlag);
    const clsHrSysDataTypes &dataTypes() const { return m_dataTypes; }
    const QList<TableClassRow> &tableClasses() const { return m_tableClasses; }
    const QList<FunctionRow> &functions() const { return m_functions; }
    bool attendanceStarted() const { return m_attendanceStarted; }
    QStringList tableClassEntries() const;
    QStringList functionEntries() const;

    // Modify mode: loads the set EditTableCode; null unless exactly one set was found.
    std::shared_ptr<clsHrSysSetDict> loadSet();
    std::shared_ptr<clsHrSysSetDict> loadedSet() const { return m_loadedSet; }
    // Positions in functions() of the functions whose bit is in a stored scope.
    QList<int> functionRowsOfScope(const QString &scope) const;

    // Add mode: the parent table the new set starts with.
    QString defaultParentTable() const;

    // Whether a set code may start with c ("_" and the digits may not).
    static bool isFirstCharStop(QChar c);
    // Rules checked when the user leaves a box, and again on confirm.
    static SetEditResult leaveCode(const QString &text);
    static SetEditResult leaveName(const QString &text);

    // Sum of the function ids of the selected entries.
    static qint64 functionScope(const QStringList &selectedEntries);

    // Add mode: checks, then in one transaction the dictionary and catalogue rows, the physical
    // table and the template and key items; then the new node in the browser's tree. Success
    // carries "创建成功"; the dialog shows it, calls afterAdd and closes.
    SetEditResult add(const SetEditorInput &in);
    void afterAdd();

    // Modify mode: the name check (when the name changed), then, once the user has confirmed,
    // the save with the tree node and grid update. Success carries "修改成功".
    SetEditResult checkModify(const SetEditorInput &in) const;
    SetEditResult modify(const SetEditorInput &in);

    // Key of the browser's tree node of the set being modified.
    QString modifiedNodeKey() const;
    // Group node key of NodeKey, and the group code, template name and parent derived from it.
    QString groupNodeKey() const;
    QString tableGroup() const;
    QString templateName() const;

private:
    SetEditResult checkLengths(const SetEditorInput &in) const;
    SetEditResult checkName(const QString &name) const;
    SetEditResult checkCode(const QString &code) const;
    bool addTemplateItems(const QString &code, const QString &setName);

    QString m_nodeKey;
    QString m_nodeKeyTail;
    clsHrSysDataTypes m_dataTypes;
    QList<TableClassRow> m_tableClasses;
    QList<FunctionRow> m_functions;
    bool m_attendanceStarted = false;
    std::shared_ptr<clsHrSysSetDict> m_loadedSet;
};

} // namespace vorlane
