#pragma once

#include "storage/SqlConnection.h"

namespace journal::storage {

// Brings the database to the schema this server needs, one recorded version step at a time.
void migrateSchema(SqlConnection& sql);

// The newest schema version this server knows; a database of a later one is refused.
int latestSchemaVersion();

} // namespace journal::storage
