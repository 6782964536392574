#include "maintenance/Restore.h"

#include "maintenance/DatabaseLock.h"
#include "maintenance/PendingFile.h"
#include "maintenance/SqliteFile.h"
#include "storage/Schema.h"
#include "storage/SqliteConnection.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace journal::maintenance {
namespace {

namespace fs = std::filesystem;

// SQLite's files that belong to a database file; the shared-memory index is rebuilt from the others.
constexpr const char* logSuffixes[] = {"-wal", "-journal"};

fs::path withSuffix(const fs::path& path, std::string_view suffix) {
    fs::path result = path;
    result += std::string(suffix);
    return result;
}

std::string localStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &tm);
    return text;
}

// Returns the schema version of a journal database fit to be restored.
int checkJournal(storage::SqlConnection& sql, const std::string& name) {
    const auto integrity = sql.query("PRAGMA integrity_check");
    if (integrity.size() != 1 || integrity[0].at(0) != "ok")
        throw std::runtime_error(
            name + " is damaged (integrity_check: " + integrity.at(0).at(0).value_or(std::string()) + ")");
    if (sql.query("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'").empty())
        throw std::runtime_error(name + " is not a journal database: it has no schema_version table");
    const std::string text = sql.query("SELECT MAX(version) FROM schema_version").at(0).at(0).value_or("0");
    int version = 0;
    std::from_chars(text.data(), text.data() + text.size(), version);
    if (version < 1)
        throw std::runtime_error(name + " holds no journal: its schema_version table is empty");
    if (version > storage::latestSchemaVersion())
        throw std::runtime_error(name + " was made by a newer server (schema version " + std::to_string(version) +
                                 ", this one knows up to " + std::to_string(storage::latestSchemaVersion()) +
                                 "): restore it with that server");
    if (!sql.query("PRAGMA foreign_key_check").empty())
        throw std::runtime_error(name + " is damaged: some of its records refer to records it does not hold");
    return version;
}

// The restored file gets the owner and mode of the database it replaces (of its folder when there is none), so
// the service's user can still write it when root restores.
void takeOwnership(const fs::path& file, const fs::path& database) {
    struct stat model {};
    const fs::path folder = database.parent_path().empty() ? fs::path(".") : database.parent_path();
    if (::stat(database.c_str(), &model) != 0 && ::stat(folder.c_str(), &model) != 0)
        return;
    if (::chmod(file.c_str(), model.st_mode & 0666) != 0 ||
        (::geteuid() == 0 && ::chown(file.c_str(), model.st_uid, model.st_gid) != 0))
        throw std::runtime_error("cannot give " + file.string() + " the owner and mode of " + database.string() + ": " +
                                 std::strerror(errno));
}

// Keeps the current database under a new name, linked so that the database's own name never goes missing, and
// moves its logs beside it: a log left under the database's name would be read into the restored file.
fs::path setAside(const fs::path& database) {
    try {
        const SqliteFile current(database, SQLITE_OPEN_READWRITE);
        current.execute("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const std::runtime_error&) {
        // A damaged database is kept as it is, together with its logs.
    }
    const std::string base = database.string() + ".replaced-" + localStamp();
    fs::path kept = base;
    for (int attempt = 2; ::link(database.c_str(), kept.c_str()) != 0; ++attempt) {
        if (errno != EEXIST)
            throw std::runtime_error("cannot keep " + database.string() + " as " + kept.string() + ": " +
                                     std::strerror(errno));
        kept = base + "-" + std::to_string(attempt);
    }
    for (const char* suffix : logSuffixes)
        if (fs::exists(withSuffix(database, suffix)))
            fs::rename(withSuffix(database, suffix), withSuffix(kept, suffix));
    fs::remove(withSuffix(database, "-shm"));
    return kept;
}

void putLogsBack(const fs::path& kept, const fs::path& database) {
    for (const char* suffix : logSuffixes) {
        std::error_code ignored;
        if (fs::exists(withSuffix(kept, suffix)))
            fs::rename(withSuffix(kept, suffix), withSuffix(database, suffix), ignored);
    }
}

std::string restoreSqlite(const fs::path& file, const fs::path& database) {
    if (!fs::is_regular_file(file))
        throw std::runtime_error("there is no file " + file.string());
    if (fs::exists(database) && fs::equivalent(file, database))
        throw std::runtime_error(file.string() + " is the database itself");
    const DatabaseLock lock(database, DatabaseLock::Use::Replacing);
    PendingFile copy(database);
    {
        const SqliteFile source(file, SQLITE_OPEN_READWRITE); // read-only where write-protected
        const SqliteFile target(copy.path(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        copyDatabase(source, target, file.string());
    }
    takeOwnership(copy.path(), database);
    int version = 0;
    {
        std::optional<storage::SqliteConnection> sql;
        try {
            sql.emplace(copy.path().string()); // opening reads the schema, which may be what is damaged
            version = checkJournal(*sql, file.string());
        } catch (const storage::StorageError& error) {
            throw std::runtime_error(file.string() + " is damaged (" + error.what() + ")");
        }
        storage::migrateSchema(*sql);
    } // the last session's close writes its log into the file and removes it

    const bool replacing = fs::exists(database);
    const fs::path kept = replacing ? setAside(database) : fs::path();
    try {
        copy.publish();
    } catch (...) {
        if (replacing && fs::exists(copy.path()))
            putLogsBack(kept, database);
        throw;
    }
    std::string report =
        "restored " + file.string() + " (schema version " + std::to_string(version) + ") as " + database.string();
    if (version < storage::latestSchemaVersion())
        report += ", migrated to version " + std::to_string(storage::latestSchemaVersion());
    return report + (replacing ? "; the replaced database is kept as " + kept.string() : "");
}

} // namespace

std::string restoreDatabase(const fs::path& file, std::string_view location) {
    if (const auto database = sqlitePath(location))
        return restoreSqlite(file, *database);
    throw std::runtime_error("a PostgreSQL journal is restored with pg_restore: stop the servers, then "
                             "pg_restore --clean --if-exists --dbname=URL FILE");
}

} // namespace journal::maintenance
