#pragma once

#include "entry/MessageService.h"

#include <QDialog>

namespace vorlane {

// What the add, modify and find dialogs have in common: Ctrl+F4 closes them, and FormLoad fills
// them afresh from the state their launcher set, either whenever they are shown (not again when
// the window system merely re-exposes them) or when the launcher hands the state over.
class EditorDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Load { OnShow, ByLauncher };

    explicit EditorDialog(Load load, QWidget *parent = nullptr);

    virtual void FormLoad() = 0;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Load m_load;
};

// Asks the question with OK and Cancel, Cancel the default; true when OK was chosen.
bool confirmed(const QString &question, const QString &title, MsgIcon icon = MsgIcon::Information);

} // namespace vorlane
