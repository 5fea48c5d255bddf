#pragma once

#include "ArchiveEditResult.h"

#include "common/EditorDialog.h"

class QGroupBox;
class QPushButton;
class QValidator;

namespace vorlane {

// What the archive class and archive item editors share: the mode clsManagefrm sets ("A" adds,
// "M" modifies), a frame of boxes above 确定 and 放弃, and refusals shown with the focus on the
// box in question.
class ArchiveEditor : public EditorDialog
{
    Q_OBJECT

public:
    QString Mode() const { return m_mode; }
    void setMode(const QString &mode) { m_mode = mode; }

protected:
    ArchiveEditor(const QString &frameCaption, QWidget *parent);

    // Places the frame, filled by the editor, above the buttons; creating the buttons after the
    // boxes keeps the boxes first in the tab order.
    void addButtons();
    // Shows a refusal or failure and puts the focus where it points.
    void report(const ArchiveEditResult &result);
    virtual void save() = 0;
    virtual void saveModified() = 0;

    QString m_mode;
    bool m_checkingName = false;
    // For a code box that takes digits only.
    QValidator *m_digits;
    QGroupBox *m_frame;
    QPushButton *m_cmdOk = nullptr;
    QPushButton *m_cmdQuit = nullptr;
};

} // namespace vorlane
