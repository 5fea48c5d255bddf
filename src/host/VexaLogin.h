#pragma once

#include <QDate>
#include <QString>

namespace vorlane {

// What the component calls on the host's login object. A real host plugs in its own.
class VexaLogin
{
public:
    virtual ~VexaLogin() = default;

    virtual QString ConnectionString() const = 0;
    virtual QString InstallPath() const = 0; // no trailing separator
    virtual QString AccountCode() const = 0;
    virtual QString AccountName() const = 0;
    virtual QDate BusinessDate() const = 0;
    virtual QString OperatorName() const = 0;

    // begin true: may the operator start the function now; begin false: release it.
    virtual bool RequestTask(const QString &functionCode, bool begin, int reserved) = 0;
    virtual long LastErrorNumber() const = 0; // 22: the caller already holds the task
    virtual QString LastErrorText() const = 0;
    virtual void ClearError() = 0;
};

// The host's function-name object.
class ZWPub
{
public:
    virtual ~ZWPub() = default;
    virtual QString FunctionName(const QString &functionCode) = 0;
};

} // namespace vorlane
