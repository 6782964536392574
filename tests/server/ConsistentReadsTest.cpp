#include "ServerHarness.h"
#include "storage/PostgresConnection.h"

#include <atomic>
#include <gmock/gmock.h>
#include <mutex>
#include <thread>

namespace journal::testing {
namespace {

using nlohmann::json;

// Lists built from several statements, read while writers change the data in whole transactions.
class ConsistentReads : public ServerTest {
protected:
    std::string workshop = server.addWorkshop("Цех 0");
    std::string machine = server.addMachine(workshop);
    std::vector<std::string> crews = {server.addRepairman("Первый"), server.addRepairman("Второй")};
    std::vector<std::string> surnames = {"Первый", "Второй"};
    std::string service = server.addService(machine, {crews[0]});

    // One transaction gives the record another crew and names that crew's repairman in its description.
    json changeCrew(int round) const {
        json command = ServerHarness::saveServiceCommand(machine, {crews[round % 2]}, "10.03.2024", std::nullopt);
        command["command"] = "edit_service";
        command["id_service"] = service;
        command["description_service"] = surnames[round % 2];
        return command;
    }

    json renameWorkshop(int round) const {
        return {{"command", "edit_workshop"},
                {"id_workshop", workshop},
                {"name_workshop", "Цех " + std::to_string(round)},
                {"description_workshop", ""},
                {"date_workshop", "01.02.1990"}};
    }

    json editRepairman(const std::string& id, const std::string& surname) const {
        return {{"command", "edit_repairman"}, {"id_repairman", id},         {"surname_repairman", surname},
                {"name_repairman", ""},        {"patronymic_repairman", ""}, {"profession_repairman", ""}};
    }
};

// What a half-changed answer would show, or an empty text when the answer is whole.
std::string journalFault(const json& answer) {
    if (!answer.contains("success"))
        return answer.dump();
    for (const json& record : answer.at("data")) {
        const std::string crew = record.at("Repairman");
        if (!crew.starts_with(record.at("Description").get<std::string>()))
            return "crew " + crew + " beside description " + record.at("Description").dump();
    }
    return {};
}

std::string machinesFault(const json& answer) {
    if (!answer.contains("success"))
        return answer.dump();
    const json& workshops = answer.at("data").at("workshop");
    for (const json& machine : answer.at("data").at("machine")) {
        const auto listed = std::find_if(workshops.begin(), workshops.end(), [&](const json& workshop) {
            return workshop.at("Title") == machine.at("TitleWorkshop");
        });
        if (listed == workshops.end())
            return "machine in " + machine.at("TitleWorkshop").dump() + " beside workshops " + workshops.dump();
    }
    return {};
}

TEST_P(ConsistentReads, ListsNeverShowHalfOfAChange) {
    constexpr int rounds = 40;
    ASSERT_TRUE(server.send(changeCrew(0)).contains("success"));
    std::atomic<bool> writing = true;
    std::vector<std::string> faults;
    std::mutex faultsMutex;
    const auto note = [&](std::string fault) {
        if (fault.empty())
            return;
        std::lock_guard lock(faultsMutex);
        faults.push_back(std::move(fault));
    };

    std::thread writer([&] {
        for (int round = 1; round <= rounds; ++round) {
            for (const json& change : {changeCrew(round), renameWorkshop(round)}) {
                const json answer = server.send(change);
                if (!answer.contains("success"))
                    note("writer: " + answer.dump());
            }
        }
        writing = false;
    });
    std::vector<std::thread> readers;
    readers.emplace_back([&] {
        while (writing)
            note(journalFault(server.send({{"command", "all_service"}})));
    });
    readers.emplace_back([&] {
        while (writing)
            note(machinesFault(server.send({{"command", "all_machine"}})));
    });
    writer.join();
    for (std::thread& reader : readers)
        reader.join();

    EXPECT_THAT(faults, ::testing::IsEmpty());
}

// Someone else's transaction changes the row the server is updating. On PostgreSQL the server's transaction loses
// the race with a serialization failure; it is run again, so the answer is a success and the server's change lasts.
TEST_P(ConsistentReads, WriterThatLosesARaceIsRunAgain) {
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "SQLite lets one writer in at a time";
    storage::PostgresConnection other(server.databaseLocation());
    other.execute("BEGIN");
    other.query("UPDATE repairman SET surname = 'Посторонний' WHERE id = ?", {crews[0]});
    const std::string otherSession = other.query("SELECT pg_backend_pid()", {}).at(0).at(0).value();

    json answer;
    std::thread editor([&] { answer = server.send(editRepairman(crews[0], "Сервер")); });
    storage::PostgresConnection watcher(server.databaseLocation());
    bool serverWaits = false;
    for (int poll = 0; poll < 10000 && !serverWaits; ++poll) {
        serverWaits = watcher
                          .query("SELECT count(*) FROM pg_stat_activity WHERE ?::int = ANY(pg_blocking_pids(pid))",
                                 {otherSession})
                          .at(0)
                          .at(0) != "0";
        if (!serverWaits)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    other.commit();
    editor.join();

    EXPECT_TRUE(serverWaits) << "the server's update never waited for the other transaction";
    EXPECT_TRUE(answer.contains("success")) << answer.dump();
    const json repairmen = server.send({{"command", "all_repairman"}}).at("data");
    EXPECT_EQ(repairmen.at(0).at("Surname").get<std::string>(), "Сервер");
}

JOURNAL_ON_EVERY_DATABASE(ConsistentReads);

} // namespace
} // namespace journal::testing
