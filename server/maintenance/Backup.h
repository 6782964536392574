#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace journal::maintenance {

// Writes a consistent copy of the journal at `location` (as --database takes it) to `target`, which must not exist
// yet, while servers go on using the database. SQLite is copied with its online backup; PostgreSQL by pg_dump in its
// custom format where pg_dump is installed. Returns a line for the user; throws std::runtime_error and then leaves
// nothing under `target`.
std::string backupDatabase(std::string_view location, const std::filesystem::path& target);

} // namespace journal::maintenance
