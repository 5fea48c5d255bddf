#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace vorlane {

// Choosing the file to export to goes through one replaceable service, like message boxes: the
// application asks the user with a file dialog, tests answer from a script.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty text when the user cancels. Filters are file-dialog filters
    // ("Excel 工作簿 (*.xlsx)"); the first is preselected.
    virtual QString chooseSaveFile(QWidget *parent,
                                   const QString &caption,
                                   const QString &suggestedPath,
                                   const QStringList &filters)
        = 0;
};

// The installed chooser; a file dialog when none was installed.
FileChooser &fileChooser();
// Installs a chooser and returns the one it replaces (nullptr for the built-in one).
std::shared_ptr<FileChooser> setFileChooser(std::shared_ptr<FileChooser> chooser);

// Asks with a QFileDialog and adds the suffix of the chosen filter to a name without one.
class DialogFileChooser : public FileChooser
{
public:
    QString chooseSaveFile(QWidget *parent,
                           const QString &caption,
                           const QString &suggestedPath,
                           const QStringList &filters) override;
};

} // namespace vorlane
