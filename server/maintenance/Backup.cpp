#include "maintenance/Backup.h"

#include "maintenance/DatabaseLock.h"
#include "maintenance/PendingFile.h"
#include "maintenance/SqliteFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace journal::maintenance {
namespace {

std::string backupSqlite(const std::filesystem::path& database, const std::filesystem::path& target) {
    // Opening a missing file would make an empty database, and its backup would look like a good one.
    if (!std::filesystem::is_regular_file(database))
        throw std::runtime_error("there is no database " + database.string());
    const DatabaseLock lock(database, DatabaseLock::Use::Sharing);
    PendingFile pending(target);
    {
        // Read-write so that the last session to close removes the log files; a write-protected file opens read-only.
        const SqliteFile source(database, SQLITE_OPEN_READWRITE);
        if (source.text("SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'").empty())
            throw std::runtime_error(database.string() + " is not a journal database");
        const SqliteFile copy(pending.path(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        copyDatabase(source, copy, database.string());
        // One self-contained file, readable even where SQLite could not make the WAL's index beside it.
        copy.execute("PRAGMA journal_mode = DELETE");
        // A damaged journal must not push good backups out of the rotation.
        if (const std::string check = copy.text("PRAGMA quick_check"); check != "ok")
            throw std::runtime_error("the database " + database.string() + " is damaged (" + check +
                                     "): no backup written");
    }
    pending.publish();
    return "backup of " + database.string() + " written to " + target.string() + " (" +
           std::to_string(std::filesystem::file_size(target)) + " bytes)";
}

std::optional<std::filesystem::path> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::filesystem::path candidate = std::filesystem::path(folders.substr(0, colon)) / name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    }
    return std::nullopt;
}

int runProgram(const std::filesystem::path& program, std::vector<std::string> arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error(std::string("cannot start ") + program.string() + ": " + std::strerror(errno));
    if (child == 0) {
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            throw std::runtime_error("lost " + program.string() + ": " + std::strerror(errno));
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string backupPostgres(std::string_view url, const std::filesystem::path& target) {
    const auto pgDump = findProgram("pg_dump");
    if (!pgDump)
        throw std::runtime_error("a PostgreSQL journal is backed up with pg_dump, which is not installed here "
                                 "(apt-get install postgresql-client); with it, this command runs pg_dump itself");
    PendingFile pending(target);
    const int status =
        runProgram(*pgDump, {"--format=custom", "--file=" + pending.path().string(), "--dbname=" + std::string(url)});
    if (status != 0)
        throw std::runtime_error("pg_dump failed (exit status " + std::to_string(status) + "): no backup written");
    pending.publish();
    return "backup written by " + pgDump->string() + " --format=custom to " + target.string() +
           " (restore it with pg_restore)";
}

} // namespace

std::string backupDatabase(std::string_view location, const std::filesystem::path& target) {
    if (std::filesystem::exists(std::filesystem::symlink_status(target)))
        throw std::runtime_error(target.string() + " exists already: give the backup a new name");
    if (const auto database = sqlitePath(location))
        return backupSqlite(*database, target);
    return backupPostgres(location, target);
}

} // namespace journal::maintenance
