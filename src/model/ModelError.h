#pragma once

#include "db/DbError.h"

namespace vorlane {

// Raised by records and collections: a value that does not convert to a property's type, an
// absent position or key, a duplicate key. Derives from db::DbError so that the services' one
// catch covers the model as well.
class ModelError : public db::DbError
{
public:
    using db::DbError::DbError;
};

} // namespace vorlane
