#pragma once

#include "storage/ConnectionPool.h"

namespace journal::protocol {

// Fills an empty database with a small machine-building plant; returns false and changes nothing
// when the database already holds records.
bool fillDemoPlant(storage::ConnectionPool& database);

} // namespace journal::protocol
