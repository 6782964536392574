#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;

namespace journal::maintenance {

// The file of a "sqlite:PATH" location; nothing for a PostgreSQL URL.
std::optional<std::filesystem::path> sqlitePath(std::string_view location);

// A bare SQLite handle for copying whole databases, without the journal's collations and settings.
class SqliteFile {
public:
    // Throws std::runtime_error naming the file when it cannot be opened.
    SqliteFile(const std::filesystem::path& path, int openFlags);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* handle() const { return db_; }
    // Runs statements without results; throws std::runtime_error with SQLite's words.
    void execute(const char* sql) const;
    // The first column of the first row as text, empty when there is none; throws as execute().
    std::string text(const char* sql) const;

private:
    sqlite3* db_ = nullptr;
};

// Copies the whole database `from` into `to` in one read transaction of `from`: in WAL mode writers go on
// meanwhile, and the copy is the database as it was when the copy began. Throws std::runtime_error with SQLite's
// words, for example when `from` is no database.
void copyDatabase(const SqliteFile& from, const SqliteFile& to, std::string_view sourceName);

} // namespace journal::maintenance
