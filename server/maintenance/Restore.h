#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace journal::maintenance {

// Puts the journal database `file` (a backup) in the place of the SQLite database at `location`, refusing while any
// server, backup or export uses it. `file` must pass SQLite's integrity check and be a journal of a known schema
// version; it is migrated to the current one. The replaced database is kept beside as DATABASE.replaced-STAMP.
// Returns a line for the user; throws std::runtime_error (DatabaseInUse while in use) and then changes nothing.
std::string restoreDatabase(const std::filesystem::path& file, std::string_view location);

} // namespace journal::maintenance
