#pragma once

#include <QString>

namespace vorlane {

// The outcome of an archive editor's check or save: whether it went through, the message the
// window shows ("" for none) and the objectName of the box that gets the focus on a refusal.
struct ArchiveEditResult
{
    bool ok = false;
    QString message;
    QString focus;

    static ArchiveEditResult success(const QString &message = QString())
    {
        return {true, message, QString()};
    }
    static ArchiveEditResult failure(const QString &message, const QString &focus = QString())
    {
        return {false, message, focus};
    }
};

} // namespace vorlane
