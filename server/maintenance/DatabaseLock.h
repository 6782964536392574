#pragma once

#include <filesystem>
#include <stdexcept>

namespace journal::maintenance {

// Another process holds the database in a way that excludes this use.
class DatabaseInUse : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An advisory lock on DATABASE.lock beside a SQLite database, held for the object's life. Servers, backups and
// exports share it; a restore needs it alone, so none of them can open the database while it is being replaced.
// The lock file is never removed: a process could otherwise lock a file that no longer has the name.
class DatabaseLock {
public:
    enum class Use { Sharing, Replacing };

    // Throws DatabaseInUse when the lock is held the other way, std::runtime_error when the file cannot be made.
    DatabaseLock(const std::filesystem::path& database, Use use);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    static std::filesystem::path lockFile(const std::filesystem::path& database);

private:
    int descriptor_ = -1;
};

} // namespace journal::maintenance
