#pragma once

#include "common/FileChooser.h"

#include <QStringList>

#include <memory>

namespace vorlane::test {

// Answers file choices from a script and records the questions. Header-only: only the tests of
// the windows library link the file chooser.
class ScriptedFileChooser : public FileChooser
{
public:
    QString chooseSaveFile(QWidget *,
                           const QString &,
                           const QString &suggestedPath,
                           const QStringList &) override
    {
        ++calls;
        suggested << suggestedPath;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers; // an empty answer (or none left) cancels
    QStringList suggested;
    int calls = 0;
};

// Puts a scripted chooser in place for one test and restores the previous one afterwards.
class FileChooserScope
{
public:
    FileChooserScope()
        : m_chooser(std::make_shared<ScriptedFileChooser>())
        , m_previous(setFileChooser(m_chooser))
    {}
    ~FileChooserScope() { setFileChooser(m_previous); }
    FileChooserScope(const FileChooserScope &) = delete;
    FileChooserScope &operator=(const FileChooserScope &) = delete;
    ScriptedFileChooser *operator->() { return m_chooser.get(); }

private:
    std::shared_ptr<ScriptedFileChooser> m_chooser;
    std::shared_ptr<FileChooser> m_previous;
};

} // namespace vorlane::test
