#include "maintenance/PendingFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace journal::maintenance {
namespace {

void sync(const std::filesystem::path& path, int flags) {
    const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0) {
        const int error = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        throw std::runtime_error("cannot write " + path.string() + " to the disk: " + std::strerror(error));
    }
    ::close(descriptor);
}

} // namespace

void syncFile(const std::filesystem::path& file) {
    sync(file, O_RDONLY);
}

void syncFolderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    sync(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
}

PendingFile::PendingFile(std::filesystem::path target)
    : target_(std::move(target))
    , temporary_(target_.parent_path() /
                 ("." + target_.filename().string() + ".partial-" + std::to_string(::getpid()))) {
    std::filesystem::remove(temporary_);
}

PendingFile::~PendingFile() {
    if (published_)
        return;
    // SQLite's own files of an unfinished copy go too.
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        std::error_code ignored;
        std::filesystem::remove(temporary_.string() + suffix, ignored);
    }
}

void PendingFile::publish() {
    syncFile(temporary_);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw std::runtime_error("cannot rename " + temporary_.string() + " to " + target_.string() + ": " +
                                 std::strerror(errno));
    published_ = true;
    syncFolderOf(target_);
}

} // namespace journal::maintenance
