#pragma once

#include "storage/JournalStore.h"
#include "storage/SqliteConnection.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace journal::testing {

// Creates (or opens) a journal database with the current schema.
std::unique_ptr<storage::SqliteConnection> openJournal(const std::filesystem::path& file);
// A journal whose one record is described by `description`.
void makeJournal(const std::filesystem::path& file, const std::string& description);

// A folder of its own per test with a journal database in it, and a few records to build journals from.
class MaintenanceTest : public ::testing::Test {
public:
    MaintenanceTest();
    ~MaintenanceTest() override;

    // A machine of its own workshop, and a repairman.
    static storage::RecordId addMachine(storage::JournalStore& store, const std::string& title,
                                        const std::string& inventory = "ТС-1", const std::string& workshop = "Цех");
    static storage::RecordId addRepairman(storage::JournalStore& store, const std::string& surname,
                                          const std::string& name = "", const std::string& patronymic = "");
    // Start and finish as "YYYY-MM-DD HH:MM:SS".
    static storage::RecordId addRepair(storage::JournalStore& store, storage::RecordId machine,
                                       const std::string& description, const std::string& start,
                                       const std::optional<std::string>& finish = std::nullopt,
                                       const std::vector<storage::RecordId>& repairmen = {});
    // The descriptions of the journal's records, by id.
    static std::vector<std::string> descriptions(const std::filesystem::path& file);
    // The files of the folder, by name.
    std::vector<std::string> folderFiles() const;

    std::filesystem::path folder;
    std::filesystem::path database;
};

} // namespace journal::testing
