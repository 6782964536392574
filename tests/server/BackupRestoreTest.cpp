#include "MaintenanceFixture.h"
#include "maintenance/Backup.h"
#include "maintenance/DatabaseLock.h"
#include "maintenance/Restore.h"
#include "storage/Schema.h"

#include <fstream>
#include <functional>
#include <gmock/gmock.h>

namespace journal::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class BackupRestoreTest : public MaintenanceTest {
protected:
    std::string location() const { return "sqlite:" + database.string(); }

    // The message restoring `file` fails with.
    std::string restoreRefusal(const std::filesystem::path& file) const {
        try {
            maintenance::restoreDatabase(file, location());
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "restored";
    }
};

TEST_F(BackupRestoreTest, RestorePutsTheBackupInPlaceAndKeepsTheReplacedDatabase) {
    makeJournal(folder / "source.sqlite3", "из копии");
    maintenance::backupDatabase("sqlite:" + (folder / "source.sqlite3").string(), folder / "backup.sqlite3");
    makeJournal(database, "текущая");

    const std::string report = maintenance::restoreDatabase(folder / "backup.sqlite3", location());

    EXPECT_THAT(descriptions(database), ElementsAre("из копии"));
    const auto files = folderFiles();
    const auto kept = std::find_if(files.begin(), files.end(), [](const std::string& name) {
        return name.starts_with("journal.sqlite3.replaced-");
    });
    ASSERT_NE(kept, files.end());
    EXPECT_THAT(report, HasSubstr(*kept));
    EXPECT_THAT(descriptions(folder / *kept), ElementsAre("текущая"));
    // Nothing half-made is left, and the restored journal opens as a server opens it.
    EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const auto& name) { return name.starts_with("."); }), 0);
    EXPECT_NO_THROW(openJournal(database));
}

// A server killed with saves still in its write-ahead log leaves them in DATABASE-wal: they belong to the kept
// database, and must not be read into the restored one.
TEST_F(BackupRestoreTest, TheLogOfTheReplacedDatabaseStaysWithIt) {
    makeJournal(folder / "backup.sqlite3", "из копии");
    {
        makeJournal(folder / "live.sqlite3", "первая");
        const auto sql = openJournal(folder / "live.sqlite3");
        sql->execute("PRAGMA wal_autocheckpoint = 0");
        storage::JournalStore store(*sql);
        addRepair(store, 1, "только в журнале", "2024-03-11 08:00:00");
        // Copied while the session is open: the state a killed server leaves.
        std::filesystem::copy_file(folder / "live.sqlite3", database);
        std::filesystem::copy_file(folder / "live.sqlite3-wal", folder / "journal.sqlite3-wal");
    }
    ASSERT_GT(std::filesystem::file_size(folder / "journal.sqlite3-wal"), 0U);

    const std::string report = maintenance::restoreDatabase(folder / "backup.sqlite3", location());

    EXPECT_THAT(descriptions(database), ElementsAre("из копии"));
    const std::string kept = report.substr(report.rfind(' ') + 1);
    EXPECT_THAT(descriptions(kept), ElementsAre("первая", "только в журнале"));
}

// A backup made by a server of the first schema comes back brought up to date, its records and crews kept.
TEST_F(BackupRestoreTest, AnOlderBackupIsMigratedOnRestore) {
    const auto backup = folder / "backup.sqlite3";
    std::vector<storage::RecordId> crew;
    {
        const auto sql = openJournal(backup);
        storage::JournalStore store(*sql);
        const auto petrov = addRepairman(store, "Петров");
        crew = {addRepairman(store, "Иванов"), petrov}; // not in the order of their numbers
        addRepair(store, addMachine(store, "Станок"), "из копии", "2024-03-11 08:00:00", std::nullopt, crew);
        // What versions 2 and on added goes again: the copy is as the first server left it.
        for (const auto& trigger : sql->query("SELECT name FROM sqlite_master WHERE type = 'trigger'", {}))
            sql->execute("DROP TRIGGER " + trigger.at(0).value());
        sql->execute("DROP TABLE journal_state; DROP TABLE journal_step; DROP TABLE journal_changed;"
                     " DROP INDEX service_repairman_order;"
                     " DELETE FROM schema_version WHERE version > 1");
    }
    makeJournal(database, "текущая");

    const std::string report = maintenance::restoreDatabase(backup, location());

    const std::string latest = std::to_string(storage::latestSchemaVersion());
    EXPECT_THAT(report, HasSubstr("migrated to version " + latest));
    const auto sql = openJournal(database);
    EXPECT_EQ(sql->query("SELECT MAX(version) FROM schema_version", {}).at(0).at(0), latest);
    EXPECT_EQ(sql->query("SELECT 1 FROM sqlite_master WHERE name = 'service_repairman_order'", {}).size(), 1U);
    storage::JournalStore store(*sql);
    EXPECT_TRUE(store.journalState());
    std::vector<std::pair<std::string, std::vector<storage::RecordId>>> records;
    store.visitServices(false, [&](const storage::ServiceRow& service) {
        records.emplace_back(service.description,
                             std::vector(service.repairmanIds.begin(), service.repairmanIds.end()));
    });
    EXPECT_THAT(records, ElementsAre(std::pair(std::string("из копии"), crew)));
}

TEST_F(BackupRestoreTest, RestoreIsRefusedWhileTheDatabaseIsInUse) {
    makeJournal(folder / "backup.sqlite3", "из копии");
    makeJournal(database, "текущая");
    {
        const maintenance::DatabaseLock server(database, maintenance::DatabaseLock::Use::Sharing);
        EXPECT_THROW(maintenance::restoreDatabase(folder / "backup.sqlite3", location()), maintenance::DatabaseInUse);
    }
    EXPECT_THAT(descriptions(database), ElementsAre("текущая"));
    // While a restore holds it, servers, backups and exports are refused.
    const maintenance::DatabaseLock restore(database, maintenance::DatabaseLock::Use::Replacing);
    EXPECT_THROW(maintenance::DatabaseLock(database, maintenance::DatabaseLock::Use::Sharing),
                 maintenance::DatabaseInUse);
}

struct RefusedFile {
    const char* what;
    std::function<void(const std::filesystem::path&)> make;
    const char* message;
};

class RestoreRefusalTest : public BackupRestoreTest, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RestoreRefusalTest, AFileThatIsNoKnownJournalChangesNothing) {
    const RefusedFile& c = GetParam();
    makeJournal(database, "текущая");
    const auto file = folder / "candidate";
    c.make(file);
    const auto before = folderFiles();

    EXPECT_THAT(restoreRefusal(file), HasSubstr(c.message)) << c.what;

    EXPECT_THAT(descriptions(database), ElementsAre("текущая"));
    auto after = folderFiles();
    std::erase(after, "journal.sqlite3.lock");
    EXPECT_EQ(after, before) << c.what;
}

void sqliteFile(const std::filesystem::path& file, const std::string& script) {
    storage::SqliteConnection(file.string()).execute(script);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RestoreRefusalTest,
    ::testing::Values(
        RefusedFile{"missing", [](const auto&) {}, "there is no file"},
        RefusedFile{"a text file", [](const auto& file) { std::ofstream(file) << "Журнал ремонтов\n"; },
                    "not a SQLite database"},
        RefusedFile{"another program's database",
                    [](const auto& file) { sqliteFile(file, "CREATE TABLE notes (text TEXT)"); },
                    "is not a journal database"},
        RefusedFile{"a version table without versions",
                    [](const auto& file) { sqliteFile(file, "CREATE TABLE schema_version (version INTEGER)"); },
                    "holds no journal"},
        RefusedFile{"a newer schema",
                    [](const auto& file) {
                        openJournal(file)->execute("INSERT INTO schema_version (version) VALUES (" +
                                                   std::to_string(storage::latestSchemaVersion() + 1) + ")");
                    },
                    "made by a newer server (schema version"},
        RefusedFile{"records pointing at missing machines",
                    [](const auto& file) {
                        openJournal(file)->execute("PRAGMA foreign_keys = OFF; INSERT INTO service (machine_id,"
                                                   " description, start_at) VALUES (7, '', '2024-03-10 08:00:00')");
                    },
                    "refer to records it does not hold"},
        RefusedFile{"a damaged file",
                    [](const auto& file) {
                        makeJournal(file, "копия");
                        // Only the first page stays whole: the tables' pages and the rest of the schema do not.
                        const auto size = std::filesystem::file_size(file);
                        std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
                        bytes.seekp(4096);
                        bytes << std::string(size - 4096, '\x7f');
                    },
                    "damaged"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(BackupRestoreTest, AFailedBackupLeavesNoFile) {
    sqliteFile(folder / "notes.sqlite3", "CREATE TABLE notes (text TEXT)");
    makeJournal(database, "текущая");
    std::ofstream(folder / "taken") << "older backup";
    const auto before = folderFiles();
    const struct {
        std::string database;
        std::filesystem::path target;
        const char* message;
    } cases[] = {
        {"sqlite:" + (folder / "missing.sqlite3").string(), folder / "b1", "there is no database"},
        {"sqlite:" + (folder / "notes.sqlite3").string(), folder / "b2", "is not a journal database"},
        {location(), folder / "taken", "exists already"},
        {location(), folder / "missing-folder" / "b3", "cannot open"},
    };
    for (const auto& c : cases) {
        try {
            maintenance::backupDatabase(c.database, c.target);
            ADD_FAILURE() << c.message << ": the backup was written";
        } catch (const std::runtime_error& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.message));
        }
    }
    auto after = folderFiles();
    std::erase_if(after, [](const std::string& name) { return name.ends_with(".lock"); });
    EXPECT_EQ(after, before);
    std::ifstream taken(folder / "taken");
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(taken), {}), StartsWith("older backup"));
}

TEST_F(BackupRestoreTest, PostgresRestoreIsLeftToPgRestore) {
    try {
        maintenance::restoreDatabase(folder / "dump", "postgresql://journal@localhost/journal");
        ADD_FAILURE() << "restored";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), HasSubstr("pg_restore"));
    }
}

} // namespace
} // namespace journal::testing
