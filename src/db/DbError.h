#pragma once

#include <QString>

#include <stdexcept>

namespace vorlane::db {

// The one exception type below the services: carries the database's own message.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {}

    const QString &message() const { return m_message; }

private:
    QString m_message;
};

} // namespace vorlane::db
