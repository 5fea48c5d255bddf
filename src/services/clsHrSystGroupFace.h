#pragma once

#include <QString>

namespace vorlane {

class clsHrSystGroup;

// Writes table groups (hr_sys_tgroup). Offered to the host and other callers; the component's
// own windows only read groups.
//
// Stateless apart from the text of the last error, kept for diagnostics only. Runs on the login
// context's shared connection, opens no transaction and shows no message: a database error (a
// duplicate group code, say) gives false. Text values are escaped.
class clsHrSystGroupFace
{
public:
    // Rewrites description, system flag and memo of group TableGroup; the record's own
    // TableGroup is not used. An unknown group changes nothing and still succeeds.
    bool Modify(const clsHrSystGroup &cls, const QString &TableGroup);
    // Inserts a new group row.
    bool Add(const clsHrSystGroup &clsCt);

    // Why the last call on this object returned false; empty after a success.
    const QString &lastError() const { return m_lastError; }

private:
    QString m_lastError;
};

} // namespace vorlane
