#pragma once

#include <QString>

namespace vorlane::db {

class Engine;

// What the translating dialects share when they run their native steps.

// Whether a native statement reports rows it changed (the count Execute returns).
bool changesRows(const QString &sql);

// Whether a step guarded by an existence query runs: the query finds a row, or, negated, none.
// An empty condition always holds.
bool conditionHolds(Engine &engine, const QString &condition, bool negated);

} // namespace vorlane::db
