#pragma once

#include "storage/SqlConnection.h"

namespace journal::storage {

// Brings the database to the schema this server needs, one recorded version step at a time.
void migrateSchema(SqlConnection& sql);

} // namespace journal::storage
