#include "protocol/Protocol.h"
#include "storage/PostgresConnection.h"
#include "storage/SqliteConnection.h"

#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace journal::protocol {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;

constexpr const char* key = "QmWrTsXnPdKa";

const json saveWorkshop = {{"command", "save_workshop"},
                           {"id_workshop", "0"},
                           {"name_workshop", "Цех №1"},
                           {"description_workshop", ""},
                           {"date_workshop", "01.02.1990"}};

Answer send(storage::ConnectionPool& pool, const json& command) {
    const Protocol protocol(pool, ServerFormats("dd.MM.yyyy", "HH:mm:ss"), key);
    return protocol.answer(command.dump(), key);
}

// A session whose calls count and may fail; every statement answers one row holding "1".
struct Script {
    std::function<void(std::string_view call, int count)> fault = [](std::string_view, int) {};
    int begins = 0;
    int queries = 0;
    int commitCalls = 0;
    int commits = 0; // that went through
};

class ScriptedConnection final : public storage::SqlConnection {
public:
    explicit ScriptedConnection(Script& script)
        : script_(script) {}

    std::vector<storage::SqlRow> query(std::string_view, const storage::SqlParams&) override {
        script_.fault("query", ++script_.queries);
        return {{"1"}};
    }
    void execute(std::string_view) override {}
    void begin(bool) override { script_.fault("begin", ++script_.begins); }
    void commit() override {
        script_.fault("commit", ++script_.commitCalls);
        ++script_.commits;
    }
    void rollback() noexcept override {}
    bool isUsable() const override { return true; }
    storage::SqlDialect dialect() const override { return storage::SqlDialect::Sqlite; }

private:
    Script& script_;
};

template <typename Fault>
std::function<void(std::string_view, int)> throwAt(std::string_view where, Fault fault, int upTo = 1000) {
    return [=](std::string_view call, int count) {
        if (call == where && count <= upTo)
            throw fault;
    };
}

struct FaultCase {
    const char* name;
    std::function<void(std::string_view, int)> fault;
    Outcome outcome;
    std::string_view message; // empty for a success
    int begins;
    int commits;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class InternalFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(InternalFaults, AreToldApartAndNeverReportedAsSuccess) {
    const FaultCase& fault = GetParam();
    Script script;
    script.fault = fault.fault;
    storage::ConnectionPool pool([&] { return std::make_unique<ScriptedConnection>(script); });

    const Answer answer = send(pool, saveWorkshop);

    EXPECT_EQ(answer.outcome, fault.outcome);
    EXPECT_EQ(answer.command, "save_workshop");
    if (fault.message.empty()) {
        EXPECT_EQ(answer.body, json({{"success", true}}));
        EXPECT_EQ(answer.fault, "");
    } else {
        EXPECT_EQ(answer.body, json({{"error", fault.message}}));
        EXPECT_NE(answer.fault, "");
    }
    EXPECT_EQ(script.begins, fault.begins);
    EXPECT_EQ(script.commits, fault.commits);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InternalFaults,
    ::testing::Values(
        FaultCase{"ConnectionLostAtBegin", throwAt("begin", storage::DatabaseUnavailable("connection lost")),
                  Outcome::Failed, databaseUnavailableMessage, 1, 0},
        FaultCase{"LockedPastTheWait", throwAt("query", storage::DatabaseUnavailable("database is locked")),
                  Outcome::Failed, databaseUnavailableMessage, 1, 0},
        FaultCase{"ConnectionLostAtCommit", throwAt("commit", storage::DatabaseUnavailable("connection lost")),
                  Outcome::Failed, databaseUnavailableMessage, 1, 0},
        FaultCase{"StatementFails", throwAt("query", storage::StorageError("no such table: workshop")), Outcome::Failed,
                  commandFailedMessage, 1, 0},
        FaultCase{"ServerBug", throwAt("query", std::out_of_range("map::at")), Outcome::Failed, commandFailedMessage, 1,
                  0},
        FaultCase{"UnknownException", throwAt("query", 42), Outcome::Failed, commandFailedMessage, 1, 0},
        FaultCase{"ConflictOnceIsRunAgain",
                  throwAt("query", storage::SerializationConflict("concurrent update"), 1),
                  Outcome::Success,
                  {},
                  2,
                  1},
        FaultCase{"ConflictAtCommitIsRunAgain",
                  throwAt("commit", storage::SerializationConflict("concurrent update"), 1),
                  Outcome::Success,
                  {},
                  2,
                  1},
        FaultCase{"ConflictEveryTimeIsAnswered", throwAt("query", storage::SerializationConflict("concurrent update")),
                  Outcome::Failed, databaseUnavailableMessage, Protocol::maxAttempts, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Real sessions that cannot be opened: the database is unreachable, not the command broken.
TEST(UnreachableDatabase, IsToldAsSuch) {
    const std::vector<std::pair<const char*, storage::ConnectionPool::Opener>> openers = {
        {"SQLite file in a missing folder",
         [] { return std::make_unique<storage::SqliteConnection>("/nonexistent-journal-folder/journal.sqlite3"); }},
        {"PostgreSQL on a port where nothing listens",
         [] { return std::make_unique<storage::PostgresConnection>("postgresql://journal@127.0.0.1:1/journal"); }},
    };
    for (const auto& [name, opener] : openers) {
        storage::ConnectionPool pool(opener);
        const Answer answer = send(pool, saveWorkshop);
        EXPECT_EQ(answer.outcome, Outcome::Failed) << name;
        EXPECT_EQ(answer.body, json({{"error", databaseUnavailableMessage}})) << name;
        EXPECT_THAT(answer.fault, HasSubstr("cannot")) << name;
    }
}

// Another program holds the write lock of the SQLite file past the server's wait.
TEST(LockedSqliteFile, WritersAreToldTheDatabaseIsBusyWhileReadersGoOn) {
    std::string folder = (std::filesystem::temp_directory_path() / "journal-faults.XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string path = folder + "/journal.sqlite3";
    storage::openDatabase("sqlite:" + path);
    storage::ConnectionPool pool(
        [&] { return std::make_unique<storage::SqliteConnection>(path, std::chrono::milliseconds(20)); });
    storage::SqliteConnection holder(path);

    holder.execute("BEGIN IMMEDIATE");
    const Answer whileLocked = send(pool, saveWorkshop);
    const Answer readWhileLocked = send(pool, {{"command", "all_workshop"}});
    holder.rollback();
    const Answer afterwards = send(pool, saveWorkshop);

    EXPECT_EQ(whileLocked.outcome, Outcome::Failed);
    EXPECT_EQ(whileLocked.body, json({{"error", databaseUnavailableMessage}}));
    EXPECT_EQ(readWhileLocked.outcome, Outcome::Success);
    EXPECT_EQ(afterwards.outcome, Outcome::Success);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace journal::protocol
