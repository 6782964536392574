#include "MaintenanceFixture.h"

#include "storage/Schema.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace journal::testing {

MaintenanceTest::MaintenanceTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "journal-maintenance-test.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary directory");
    folder = pattern;
    database = folder / "journal.sqlite3";
}

MaintenanceTest::~MaintenanceTest() {
    std::filesystem::remove_all(folder);
}

std::unique_ptr<storage::SqliteConnection> openJournal(const std::filesystem::path& file) {
    auto sql = std::make_unique<storage::SqliteConnection>(file.string());
    storage::migrateSchema(*sql);
    return sql;
}

void makeJournal(const std::filesystem::path& file, const std::string& description) {
    const auto sql = openJournal(file);
    storage::JournalStore store(*sql);
    MaintenanceTest::addRepair(store, MaintenanceTest::addMachine(store, "Станок"), description, "2024-03-10 08:00:00");
}

storage::RecordId MaintenanceTest::addMachine(storage::JournalStore& store, const std::string& title,
                                              const std::string& inventory, const std::string& workshop) {
    const storage::RecordId workshopId = store.addWorkshop({workshop, "", {1990, 2, 1}});
    return store.addMachine({title, "", inventory, workshopId});
}

storage::RecordId MaintenanceTest::addRepairman(storage::JournalStore& store, const std::string& surname,
                                                const std::string& name, const std::string& patronymic) {
    return store.addRepairman({surname, name, patronymic, "Слесарь"});
}

storage::RecordId MaintenanceTest::addRepair(storage::JournalStore& store, storage::RecordId machine,
                                             const std::string& description, const std::string& start,
                                             const std::optional<std::string>& finish,
                                             const std::vector<storage::RecordId>& repairmen) {
    storage::ServiceInput input;
    input.machineId = machine;
    input.description = description;
    input.start = dateTimeFromIso(start).value();
    if (finish)
        input.finish = dateTimeFromIso(*finish).value();
    input.repairmanIds = repairmen;
    return store.addService(input);
}

std::vector<std::string> MaintenanceTest::descriptions(const std::filesystem::path& file) {
    storage::SqliteConnection sql(file.string());
    std::vector<std::string> found;
    for (const auto& row : sql.query("SELECT description FROM service ORDER BY id", {}))
        found.push_back(row.at(0).value_or(""));
    return found;
}

std::vector<std::string> MaintenanceTest::folderFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace journal::testing
