#pragma once

#include <QString>

namespace vorlane::host {

// A text value between single quotes, its own quotes doubled.
inline QString sqlText(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace vorlane::host
