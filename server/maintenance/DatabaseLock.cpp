#include "maintenance/DatabaseLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace journal::maintenance {

std::filesystem::path DatabaseLock::lockFile(const std::filesystem::path& database) {
    std::filesystem::path file = database;
    file += ".lock";
    return file;
}

DatabaseLock::DatabaseLock(const std::filesystem::path& database, Use use) {
    const std::filesystem::path file = lockFile(database);
    // Read access is all flock needs, so a lock file made by root serves the service's user too.
    descriptor_ = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor_ < 0)
        throw std::runtime_error("cannot open the lock file " + file.string() + ": " + std::strerror(errno));
    if (::flock(descriptor_, (use == Use::Sharing ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0)
        return;
    const int error = errno;
    ::close(descriptor_);
    if (error != EWOULDBLOCK)
        throw std::runtime_error("cannot lock " + file.string() + ": " + std::strerror(error));
    throw DatabaseInUse(use == Use::Sharing
                            ? "the database " + database.string() + " is being restored; try again when that is done"
                            : "the database " + database.string() +
                                  " is in use by a server, a backup or an export; stop the server first"
                                  " (systemctl stop journal-server)");
}

DatabaseLock::~DatabaseLock() {
    ::close(descriptor_);
}

} // namespace journal::maintenance
