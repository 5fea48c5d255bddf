#pragma once

#include "TestDatabase.h"

#include <memory>

namespace vorlane {
class clsShowForm;
namespace host {
class HostLogin;
}
} // namespace vorlane

namespace vorlane::test {

// A host session on a fresh demo account database, as the application opens one: the demo
// operator signs in, the login context goes through clsLoginMsg, clsShowForm opens the shared
// connection. Ending it releases every task and resets the login context.
class HostSession
{
public:
    struct Options
    {
        bool carriedForward = false; // HMJZ
        qint16 optFlag = 0;
        QString operatorCode = QStringLiteral("demo");
    };
    HostSession();
    explicit HostSession(const Options &options);
    ~HostSession();

    TestDatabase db;
    std::shared_ptr<host::HostLogin> login;
    std::unique_ptr<clsShowForm> form;

    // The shared connection the windows use.
    db::Connection &conn();
};

} // namespace vorlane::test
