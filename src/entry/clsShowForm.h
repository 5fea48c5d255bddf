#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace vorlane {

// The host's entry object. Its life is the life of the shared database connection: creating it
// opens the connection with the login object's connection string, destroying it closes it.
class clsShowForm : public QObject
{
    Q_OBJECT

public:
    // Throws HostError when no login object has been put; nothing is opened then. A connection
    // that cannot be opened is reported to the user and kept, unopened, in the login context.
    clsShowForm();
    // Closes and releases the login context's connection; never throws.
    ~clsShowForm();

    clsShowForm(const clsShowForm &) = delete;
    clsShowForm &operator=(const clsShowForm &) = delete;

    // The archive browser and the structure browser, one instance each. nModal 1 returns when the
    // window is closed; 0 returns at once. The owner, when given, becomes the window's parent.
    void ShowArchiveUI(int nModal, QWidget *oOwnerForm);
    void ShowConstructUI(int nModal, QWidget *oOwnerForm);

    // The connection string this object opened with.
    QString connectionString() const { return m_connectionString; }

Q_SIGNALS:
    // Declared for hosts that connect to it; never emitted.
    void GetToolbarStyleEvent(int &nId);

private:
    QString m_connectionString;
};

} // namespace vorlane
