#pragma once

#include "ItemRules.h"

#include <QObject>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;

namespace vorlane {

class ItemLists;

// The input controls the two item dialogs share, created with their names on the dialog, with
// their key filters (validators, so pasted text obeys them too), the checks on leaving a field,
// the link of 是否必录 to 能否为空 and the type table.
class ItemInputs : public QObject
{
    Q_OBJECT

public:
    // The creation dialog lists "1-录入最底层" first, the modification dialog "0-录入任意层".
    enum class Order { LastLevelFirst, AnyLevelFirst };

    ItemInputs(QWidget *dialog, Order order);

    // Labels and controls in two columns.
    QGridLayout *layout() const { return m_layout; }

    QLineEdit *txtItemCode;
    QLineEdit *txtItemName;
    QLineEdit *txtDescription;
    QComboBox *cboType;
    QComboBox *cboRef;
    QComboBox *cboDc;
    QLineEdit *txtNumLen;
    QLineEdit *txtDecLen;
    QComboBox *cboBl;
    QComboBox *cboNull;
    QLineEdit *txtDefault;
    QComboBox *cboFormat;
    QLineEdit *txtMemo;
    QLineEdit *txtShowOrder;
    QCheckBox *chkDisplay;
    QCheckBox *chkDefine;

    void clearCombos();
    void fillCombos(const ItemLists &lists);
    // Text boxes empty, the code box enabled, both check boxes checked.
    void clearInputs();
    // Every combo at its first entry, and the type's dependent inputs set accordingly.
    void resetCombos();
    // Enables and presets the dependent inputs by the chosen data type; clears the default.
    void applyTypeLayout();

    ItemInput read() const;
    // A pending entry back into the inputs: the type first (with its layout), then the rest.
    void write(const ItemInput &entry);

    QWidget *widgetFor(ItemField field) const;
    // The field in question gets the focus with its text selected.
    void focusField(ItemField field);

private:
    void leaveCheck(QLineEdit *box);
    void followRequired();

    QGridLayout *m_layout;
    QWidget *m_dialog;
    bool m_checking = false;
};

// Selects an entry of a combo, or none for -1.
void selectComboEntry(QComboBox *combo, int index);

} // namespace vorlane
