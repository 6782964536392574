#include "maintenance/SqliteFile.h"

#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace journal::maintenance {

std::optional<std::filesystem::path> sqlitePath(std::string_view location) {
    if (!location.starts_with("sqlite:"))
        return std::nullopt;
    return std::filesystem::path(location.substr(7));
}

SqliteFile::SqliteFile(const std::filesystem::path& path, int openFlags) {
    const int code = sqlite3_open_v2(path.c_str(), &db_, openFlags, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path.string() + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 10000);
}

SqliteFile::~SqliteFile() {
    sqlite3_close(db_);
}

void SqliteFile::execute(const char* sql) const {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
}

std::string SqliteFile::text(const char* sql) const {
    std::string result;
    auto first = [](void* out, int columns, char** values, char**) {
        if (columns > 0 && values[0] != nullptr)
            *static_cast<std::string*>(out) = values[0];
        return 1; // one row is all that is read
    };
    const int code = sqlite3_exec(db_, sql, first, &result, nullptr);
    if (code != SQLITE_OK && code != SQLITE_ABORT)
        throw std::runtime_error(sqlite3_errmsg(db_));
    return result;
}

void copyDatabase(const SqliteFile& from, const SqliteFile& to, std::string_view sourceName) {
    sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (backup == nullptr)
        throw std::runtime_error(std::string("cannot copy ") + std::string(sourceName) + ": " +
                                 sqlite3_errmsg(to.handle()));
    // All pages in one step: copied in parts, each write of the server in between would start the copy anew.
    const int code = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE)
        throw std::runtime_error(std::string("cannot copy ") + std::string(sourceName) + ": " +
                                 (code == SQLITE_NOTADB ? "it is not a SQLite database" : sqlite3_errstr(code)));
}

} // namespace journal::maintenance
