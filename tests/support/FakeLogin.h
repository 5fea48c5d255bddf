#pragma once

#include "host/VexaLogin.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>

namespace vorlane::test {

// A host login object whose answers to RequestTask are scripted (every request is granted once
// the script has run out). It records every call, so tests can check what the component asked
// and in which order.
class FakeLogin : public VexaLogin
{
public:
    struct Reply
    {
        bool granted = true;
        long errorNumber = 0;
        QString errorText;
    };

    QString connectionString;
    QString installPath = QStringLiteral("/opt/vexa");
    QString accountCode = QStringLiteral("001");
    QString accountName = QStringLiteral("星桥示范企业");
    QDate businessDate{2024, 3, 5};
    QString operatorName = QStringLiteral("张三");

    QList<Reply> replies; // one per RequestTask call; granted when the script has run out
    mutable QStringList calls;

    QString ConnectionString() const override
    {
        calls << QStringLiteral("ConnectionString");
        return connectionString;
    }
    QString InstallPath() const override { return installPath; }
    QString AccountCode() const override { return accountCode; }
    QString AccountName() const override { return accountName; }
    QDate BusinessDate() const override { return businessDate; }
    QString OperatorName() const override { return operatorName; }

    bool RequestTask(const QString &functionCode, bool begin, int reserved) override
    {
        calls << QStringLiteral("RequestTask(%1,%2,%3)")
                     .arg(functionCode, begin ? QStringLiteral("true") : QStringLiteral("false"))
                     .arg(reserved);
        const Reply reply = replies.isEmpty() ? Reply() : replies.takeFirst();
        if (!reply.granted) {
            m_errorNumber = reply.errorNumber;
            m_errorText = reply.errorText;
        }
        return reply.granted;
    }
    long LastErrorNumber() const override
    {
        calls << QStringLiteral("LastErrorNumber");
        return m_errorNumber;
    }
    QString LastErrorText() const override
    {
        calls << QStringLiteral("LastErrorText");
        return m_errorText;
    }
    void ClearError() override
    {
        calls << QStringLiteral("ClearError");
        m_errorNumber = 0;
        m_errorText.clear();
    }

private:
    long m_errorNumber = 0;
    QString m_errorText;
};

// The host's function-name object, with a fixed table of names.
class FakeZWPub : public ZWPub
{
public:
    QHash<QString, QString> names;
    QStringList asked;

    QString FunctionName(const QString &functionCode) override
    {
        asked << functionCode;
        return names.value(functionCode);
    }
};

} // namespace vorlane::test
