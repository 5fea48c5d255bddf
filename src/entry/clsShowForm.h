#pragma once

#include <QString>

namespace vorlane {

// The host's entry object. Its life is the life of the shared database connection: creating it
// opens the connection with the login object's connection string, destroying it closes it.
class clsShowForm
{
public:
    // Throws HostError when no login object has been put; nothing is opened then. A connection
    // that cannot be opened is reported to the user and kept, unopened, in the login context.
    clsShowForm();
    // Closes and releases the login context's connection; never throws.
    ~clsShowForm();

    clsShowForm(const clsShowForm &) = delete;
    clsShowForm &operator=(const clsShowForm &) = delete;

    // The connection string this object opened with.
    QString connectionString() const { return m_connectionString; }

private:
    QString m_connectionString;
};

} // namespace vorlane
