#include "ServerHarness.h"
#include "storage/PostgresConnection.h"

#include <gmock/gmock.h>
#include <regex>
#include <sstream>
#include <thread>

namespace journal::testing {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;

class HostileInput : public ServerTest {
protected:
    std::string workshop = server.addWorkshop("Цех 100%_готов");
    std::string machine = server.addMachine(workshop);
    std::string repairman = server.addRepairman();
    std::string service = server.addService(machine, {repairman}, "10.03.2024");

    std::size_t journalSize() const { return server.send({{"command", "all_service"}}).at("data").size(); }
};

TEST_P(HostileInput, InjectedSqlNeverReachesTheDatabase) {
    const json attacks[] = {
        {{"command", "sort_service"}, {"field", "S.id; DROP TABLE service; --"}, {"path", "asc"}},
        {{"command", "sort_service"}, {"field", "(SELECT 1)"}, {"path", "asc"}},
        {{"command", "sort_machine"}, {"field", "m.Id"}, {"path", "asc; DELETE FROM machine"}},
        {{"command", "delete_service"}, {"id", "1 OR 1=1"}},
        {{"command", "uid_service"}, {"id_service", service + "; DROP TABLE service"}},
        {{"command", "delete_repairman"}, {"id", "0x1"}},
    };
    for (const json& attack : attacks) {
        const json answer = server.send(attack);
        EXPECT_TRUE(answer.contains("error")) << attack.dump();
        EXPECT_FALSE(answer.contains("success")) << attack.dump();
    }
    EXPECT_EQ(journalSize(), 1u);
}

TEST_P(HostileInput, SearchTextIsMatchedLiterally) {
    const json quote = server.send({{"command", "search_workshop"}, {"search", "' OR '1'='1"}});
    const json percent = server.send({{"command", "search_workshop"}, {"search", "100%"}});
    const json wildcard = server.send({{"command", "search_workshop"}, {"search", "%%%"}});
    const json underscore = server.send({{"command", "search_workshop"}, {"search", "___"}});

    EXPECT_EQ(quote.at("data"), json::array());
    EXPECT_EQ(percent.at("data").size(), 1u);
    EXPECT_EQ(wildcard.at("data"), json::array());
    EXPECT_EQ(underscore.at("data"), json::array());
}

TEST_P(HostileInput, TextsAreStoredAsSent) {
    const std::string tricky = "O'Brien \"Q\" \\ / ; -- <b> 😀";
    const json answer = server.send({{"command", "save_repairman"},
                                     {"id_repairman", "0"},
                                     {"surname_repairman", tricky},
                                     {"name_repairman", ""},
                                     {"patronymic_repairman", ""},
                                     {"profession_repairman", ""}});
    ASSERT_TRUE(answer.contains("success")) << answer.dump();

    const json list = server.send({{"command", "sort_repairman"}, {"field", "id"}, {"path", "desc"}}).at("data");
    EXPECT_EQ(list[0].at("Surname"), tricky);
}

struct TransportCase {
    const char* name;
    std::string body;
    std::string contentType;
    std::string path;
    int status;
    const char* message;
};

TEST_P(HostileInput, EveryTransportErrorIsAJsonObject) {
    const std::string key = std::string("&key=") + accessKey;
    const std::vector<TransportCase> cases = {
        {"BrokenPercent", "data=%7B%ZZ" + key, formContentType, "/api/index", 400, "корректной формой"},
        {"CutPercent", "data=%7" + key, formContentType, "/api/index", 400, "корректной формой"},
        {"FieldWithoutValue", "data" + key, formContentType, "/api/index", 400, "корректной формой"},
        {"InvalidUtf8", "data=" + formEncoded("{\"command\":\"all_service\",\"x\":\"") + "%C3%28%22%7D" + key,
         formContentType, "/api/index", 200, "объект JSON"},
        {"JsonContentType", R"({"command":"all_service"})", "application/json", "/api/index", 415, "форм"},
        {"TextContentType", "data=x", "text/plain", "/api/index", 415, "форм"},
        {"BrokenMultipart", "--x--", "multipart/form-data; boundary=x", "/api/index", 400, "HTTP"},
        {"OtherPath", formBody({{"command", "all_service"}}), formContentType, "/api/other", 404, "/api/index"},
        {"TooBig", "data=" + std::string(2 * 1024 * 1024, 'a') + key, formContentType, "/api/index", 413,
         "слишком большой"},
    };
    for (const TransportCase& transport : cases) {
        const RawAnswer answer = server.post(transport.body, transport.contentType, transport.path);
        EXPECT_EQ(answer.status, transport.status) << transport.name;
        EXPECT_EQ(answer.contentType, "application/json; charset=utf-8") << transport.name;
        EXPECT_THAT(answer.json.value("error", ""), HasSubstr(transport.message)) << transport.name;
    }
}

TEST_P(HostileInput, GetRequestsGetJson) {
    const auto result = server.newClient()->Get("/api/index");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->get_header_value("Content-Type"), "application/json; charset=utf-8");
    EXPECT_TRUE(json::parse(result->body).contains("error"));
}

TEST_P(HostileInput, AnswersAreNeverCompressed) {
    const RawAnswer answer = server.post(formBody({{"command", "all_service"}}), formContentType, "/api/index",
                                         {{"Accept-Encoding", "gzip, deflate, br"}});
    EXPECT_EQ(answer.contentEncoding, "");
    EXPECT_TRUE(answer.json.contains("success"));
}

TEST_P(HostileInput, ConcurrentWritersLoseNothing) {
    constexpr int writers = 4;
    constexpr int savesEach = 8;
    // Each writer edits a record of its own while adding new ones.
    std::vector<std::string> own;
    for (int writer = 0; writer < writers; ++writer)
        own.push_back(server.addRepairman("Автор" + std::to_string(writer)));
    std::vector<std::vector<std::string>> errors(writers);
    std::vector<std::thread> threads;
    for (int writer = 0; writer < writers; ++writer) {
        threads.emplace_back([&, writer] {
            for (int i = 0; i < savesEach; ++i) {
                const std::string tag = std::to_string(writer) + "-" + std::to_string(i);
                const json saved =
                    server.send(ServerHarness::saveServiceCommand(machine, {repairman}, "01.04.2024", std::nullopt));
                const json edited = server.send({{"command", "edit_repairman"},
                                                 {"id_repairman", own[writer]},
                                                 {"surname_repairman", "Автор" + tag},
                                                 {"name_repairman", ""},
                                                 {"patronymic_repairman", ""},
                                                 {"profession_repairman", ""}});
                for (const json* answer : {&saved, &edited})
                    if (!answer->contains("success"))
                        errors[writer].push_back(answer->dump());
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    for (const auto& writerErrors : errors)
        EXPECT_THAT(writerErrors, ::testing::IsEmpty());
    EXPECT_EQ(journalSize(), 1u + writers * savesEach);
    const json repairmen = server.send({{"command", "all_repairman"}}).at("data");
    for (int writer = 0; writer < writers; ++writer) {
        const auto found =
            std::find_if(repairmen.begin(), repairmen.end(), [&](const json& r) { return r.at("Id") == own[writer]; });
        ASSERT_NE(found, repairmen.end());
        EXPECT_EQ(found->at("Surname"), "Автор" + std::to_string(writer) + "-" + std::to_string(savesEach - 1));
    }
}

TEST_P(HostileInput, DatabaseFaultIsAnErrorAndTheNextRequestWorks) {
    {
        auto connection = server.database().acquire();
        connection->execute("ALTER TABLE service RENAME TO service_away");
    }
    const RawAnswer failed = server.post(formBody({{"command", "all_service"}}));
    {
        auto connection = server.database().acquire();
        connection->execute("ALTER TABLE service_away RENAME TO service");
    }
    const json next = server.send({{"command", "all_service"}});

    EXPECT_EQ(failed.status, 500);
    EXPECT_THAT(failed.json.value("error", ""), HasSubstr("Внутренняя ошибка"));
    EXPECT_EQ(next.at("data").size(), 1u);
}

// Requests failing in parallel each leave a fault line and a request line, whole and with the time.
TEST_P(HostileInput, FaultLinesAreWholeAndCarryTheTime) {
    constexpr int senders = 4;
    constexpr int requestsEach = 5;
    server.database().acquire()->execute("ALTER TABLE service RENAME TO service_away");
    std::atomic<int> wrongAnswers = 0;
    ::testing::internal::CaptureStderr();
    std::vector<std::thread> threads;
    for (int sender = 0; sender < senders; ++sender) {
        threads.emplace_back([&] {
            for (int i = 0; i < requestsEach; ++i) {
                const RawAnswer answer = server.post(formBody({{"command", "all_service"}}));
                if (answer.status != 500 || answer.json != json{{"error", protocol::commandFailedMessage}})
                    ++wrongAnswers;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const std::string log = ::testing::internal::GetCapturedStderr();
    server.database().acquire()->execute("ALTER TABLE service_away RENAME TO service");

    EXPECT_EQ(wrongAnswers, 0);
    const std::string time = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d UTC )";
    const std::regex faultLine(time + "all_service fault: .*service.*");
    const std::regex requestLine(time + R"(all_service failed \d+ ms)");
    int faults = 0;
    int requests = 0;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, faultLine))
            ++faults;
        else if (std::regex_match(line, requestLine))
            ++requests;
        else
            ADD_FAILURE() << "broken log line: " << line;
    }
    EXPECT_EQ(faults, senders * requestsEach);
    EXPECT_EQ(requests, senders * requestsEach);
}

TEST_P(HostileInput, LostDatabaseSessionsAreReplaced) {
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "only a database server can drop sessions";
    {
        auto connection = server.database().acquire();
        connection->query("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid <> pg_backend_pid()"
                          " AND application_name = current_setting('application_name')",
                          {});
    }
    json answer;
    // The sessions that were cut answer once with an error each; fresh ones follow.
    for (int attempt = 0; attempt < 8 && !answer.contains("success"); ++attempt)
        answer = server.send({{"command", "all_service"}});
    EXPECT_TRUE(answer.contains("success")) << answer.dump();
}

// A session cut by the database server: the user reads that the database cannot be reached, not that the command
// is broken.
TEST_P(HostileInput, LostDatabaseSessionIsToldAsUnreachable) {
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "only a database server can drop sessions";
    storage::PostgresConnection(server.databaseLocation())
        .query("SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity WHERE pid <> pg_backend_pid()"
               " AND application_name = current_setting('application_name')",
               {});

    const RawAnswer answer = server.post(formBody({{"command", "all_service"}}));

    EXPECT_EQ(answer.status, 500);
    EXPECT_EQ(answer.json, json({{"error", protocol::databaseUnavailableMessage}}));
}

JOURNAL_ON_EVERY_DATABASE(HostileInput);

} // namespace
} // namespace journal::testing
