#pragma once

#include "db/Connection.h"
#include "host/VexaLogin.h"

#include <QDate>
#include <QString>

#include <memory>
#include <stdexcept>

namespace vorlane {

// A host object the component needs is missing (no login object, no function-name object).
class HostError : public std::runtime_error
{
public:
    explicit HostError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {}

    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The process-wide login context: what the host handed over through clsLoginMsg, plus the one
// shared database connection that clsShowForm opens and closes. Single-threaded, no locking:
// everything runs on the host's user-interface thread.
class Defs
{
public:
    static Defs &instance();

    std::shared_ptr<VexaLogin> cLogin;
    QString CAccId;
    QString CAccName;
    QString OptId;
    QString OptName;
    QDate OperateDate;
    bool IsAdmin = false;
    bool DemoExe = false;
    QString CurrentPath;
    QString UserId;
    QString DbName;
    QString DbIp;
    qint16 OptFlag = 0;
    std::shared_ptr<vorlane::ZWPub> ZWPub;
    QString MenuID;
    QString SYSID;
    bool HMJZ = false;
    qint16 MenueStyleID = 0;

    // The shared connection; null before clsShowForm is created and after it is destroyed.
    std::shared_ptr<db::Connection> connection;

    // Directory of the HTML help pages, with a trailing "/"; set when cLogin is put.
    QString helpLocation;

    // The shared connection, or db::DbError when there is none, so that services trap it like
    // any other database error.
    db::Connection &conn() const;

    // The login object, or HostError when the host has not put one.
    VexaLogin &login() const;

    // Back to the state of a freshly loaded component; the connection is released.
    void reset();

    Defs(const Defs &) = delete;
    Defs &operator=(const Defs &) = delete;

private:
    Defs() = default;
    Defs &operator=(Defs &&) = default;
};

// The help location for a host installation path.
QString helpLocationFor(const QString &installPath);

} // namespace vorlane
