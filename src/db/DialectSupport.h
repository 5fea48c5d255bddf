#pragma once

#include <QString>

#include <optional>

namespace vorlane::db {

class Engine;

// What the translating dialects share when they run their native steps.

// Whether a native statement reports rows it changed (the count Execute returns).
bool changesRows(const QString &sql);

// Whether a step guarded by an existence query runs: the query finds a row, or, negated, none.
// An empty condition always holds.
bool conditionHolds(Engine &engine, const QString &condition, bool negated);

// Why the server would refuse a value in a column of a declared type, as the message the user
// reads; without the value when the engine cannot tell it.
QString valueRefusal(const QString &table,
                     const QString &column,
                     const QString &declared,
                     const std::optional<QString> &value);

} // namespace vorlane::db
