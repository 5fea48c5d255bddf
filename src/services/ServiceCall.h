#pragma once

#include "db/DbError.h"

#include <QString>

#include <exception>

namespace vorlane::services {

// The services' one error policy: whatever the body raises becomes the result false, with the
// error's text kept for diagnostics. Nothing already executed is undone; the caller owns the
// transaction and rolls it back.
template<class Body>
bool trapped(QString &lastError, Body &&body)
{
    lastError.clear();
    try {
        return body();
    } catch (const db::DbError &e) {
        lastError = e.message();
    } catch (const std::exception &e) {
        lastError = QString::fromLocal8Bit(e.what());
    } catch (...) {
        lastError = QStringLiteral("未知错误");
    }
    return false;
}

// A guard failure: the call returns false before any statement runs.
inline bool refused(QString &lastError, const QString &reason)
{
    lastError = reason;
    return false;
}

} // namespace vorlane::services
