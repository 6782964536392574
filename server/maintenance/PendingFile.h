#pragma once

#include <filesystem>

namespace journal::maintenance {

// A file written under a hidden temporary name beside its final one and given that name only when complete, so a
// failed or interrupted write never leaves a half file under the final name. Removed unless published.
class PendingFile {
public:
    explicit PendingFile(std::filesystem::path target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const std::filesystem::path& path() const { return temporary_; }
    // Syncs the file, renames it to the target (replacing what is there) and syncs the folder.
    void publish();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool published_ = false;
};

// Writes the file's data and the folder's entry to the disk; throws std::runtime_error.
void syncFile(const std::filesystem::path& file);
void syncFolderOf(const std::filesystem::path& file);

} // namespace journal::maintenance
