#include "ServerHarness.h"
#include "storage/JournalStore.h"

#include <gmock/gmock.h>

namespace journal::testing {
namespace {

using nlohmann::json;

// A journal whose answer fills several pieces of the answer's text.
class LongLists : public ServerTest {
protected:
    static constexpr int records = 3000;

    void SetUp() override {
        const std::string machine = server.addMachine(server.addWorkshop());
        const std::string repairman = server.addRepairman();
        auto connection = server.database().acquire();
        storage::JournalStore store(*connection);
        connection->begin(true);
        for (int i = 0; i < records; ++i) {
            storage::ServiceInput service;
            service.machineId = std::stoll(machine);
            service.description = "Замена подшипников шпинделя и регулировка зазоров, запись " + std::to_string(i);
            service.repairmanIds = {std::stoll(repairman)};
            service.start = {{2024, 3, 10}, {8, 30, 0}};
            lastId = store.addService(service);
        }
        connection->commit();
    }

    void breakStartOf(storage::RecordId id, const std::string& value) const {
        server.database().acquire()->query("UPDATE service SET start_at = ? WHERE id = ?", {value, std::to_string(id)});
    }

    storage::RecordId lastId = 0;
};

// A record that cannot be read before the first piece went out makes the answer one error object.
TEST_P(LongLists, RecordUnreadableEarlyIsAnErrorAnswer) {
    const storage::RecordId early = lastId - records + 5;
    breakStartOf(early, "broken");

    const RawAnswer failed = server.post(formBody({{"command", "all_service"}}));
    breakStartOf(early, "2024-03-10 08:30:00");

    EXPECT_EQ(failed.status, 500);
    EXPECT_EQ(failed.json, json({{"error", protocol::commandFailedMessage}}));
    EXPECT_EQ(server.send({{"command", "all_service"}}).at("data").size(), static_cast<std::size_t>(records));
}

// One that cannot be read after most of the list went out breaks the list off: the answer ends as an error object
// without "success", which the client shows as it shows the error answer, and takes no list from it. The server
// goes on answering.
TEST_P(LongLists, RecordUnreadableLateEndsTheAnswerAsAnError) {
    const storage::RecordId late = lastId - 10;
    breakStartOf(late, "broken");

    const RawAnswer broken = server.post(formBody({{"command", "all_service"}}));
    breakStartOf(late, "2024-03-10 08:30:00");
    const json next = server.send({{"command", "sort_service"}, {"field", "S.description"}, {"path", "desc"}});

    EXPECT_EQ(broken.status, 200); // sent before the list was read to its end
    ASSERT_TRUE(broken.json.is_object()) << broken.body.substr(broken.body.size() - 200);
    EXPECT_EQ(broken.json.at("error"), protocol::commandFailedMessage);
    EXPECT_FALSE(broken.json.contains("success"));
    EXPECT_LT(broken.json.at("data").size(), static_cast<std::size_t>(records));
    ASSERT_EQ(next.at("data").size(), static_cast<std::size_t>(records));
    EXPECT_EQ(next.at("data")[0].at("Description"), "Замена подшипников шпинделя и регулировка зазоров, запись 999");
}

// Clients that stop reading midway hold neither the server's threads nor its database: there are more of them
// than the server has threads, and a change and a whole list still go through afterwards.
TEST_P(LongLists, ClientsThatStopReadingLeaveTheServerFree) {
    for (int i = 0; i < 12; ++i) {
        httplib::Request request;
        request.method = "POST";
        request.path = "/api/index";
        request.body = formBody({{"command", "all_service"}});
        request.set_header("Content-Type", formContentType);
        request.content_receiver = [](const char*, std::size_t, std::uint64_t, std::uint64_t) { return false; };
        httplib::Response response;
        httplib::Error error = httplib::Error::Success;
        EXPECT_FALSE(server.newClient()->send(request, response, error));
        EXPECT_EQ(error, httplib::Error::Canceled);
    }

    const auto workshop = server.addWorkshop("Цех №2");
    EXPECT_EQ(server.send({{"command", "all_service"}}).at("data").size(), static_cast<std::size_t>(records));
    EXPECT_FALSE(workshop.empty());
}

TEST_P(LongLists, AreSentWhole) {
    const RawAnswer answer = server.post(formBody({{"command", "all_service"}}));

    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.contentType, "application/json; charset=utf-8");
    ASSERT_TRUE(answer.json.is_object());
    EXPECT_EQ(answer.json.at("data").size(), static_cast<std::size_t>(records));
    EXPECT_GT(answer.body.size(), 3 * 256 * 1024u);
    EXPECT_EQ(answer.body, answer.json.dump());
}

// Sorted lists are copied together record by record from text written in the order of the record numbers.
TEST_P(LongLists, SortedListHoldsEveryRecordWholeInItsOrder) {
    const json all = server.send({{"command", "all_service"}}).at("data");
    // Every record starts at the same time: the order falls back to the record numbers.
    const json sorted =
        server.send({{"command", "sort_service"}, {"field", "S.time_start"}, {"path", "desc"}}).at("data");

    EXPECT_EQ(sorted, all);
}

JOURNAL_ON_EVERY_DATABASE(LongLists);

// Results longer than the batches an engine may read them in.
class LongResults : public ServerTest {
protected:
    static constexpr long long rows = 12001;
    static constexpr const char* numbers =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12001)"
        " SELECT i, 'строка ' || i FROM n";

    storage::ConnectionPool::Lease connection = server.database().acquire();
};

TEST_P(LongResults, AreVisitedWholeInOrder) {
    connection->begin(false);
    long long next = 1;
    connection->visitRows(numbers, {}, [&](std::span<const storage::SqlCell> row) {
        ASSERT_EQ(row[0], std::to_string(next));
        ASSERT_EQ(row[1], "строка " + std::to_string(next));
        ++next;
    });
    connection->commit();

    EXPECT_EQ(next, rows + 1);
}

// A visit stopped midway leaves the session in its transaction, ready for the next statement.
TEST_P(LongResults, AVisitStoppedMidwayLeavesTheSessionUsable) {
    connection->begin(false);
    long long seen = 0;
    EXPECT_THROW(connection->visitRows(numbers, {},
                                       [&](std::span<const storage::SqlCell>) {
                                           if (++seen == 7000)
                                               throw std::runtime_error("enough");
                                       }),
                 std::runtime_error);
    EXPECT_EQ(connection->query("SELECT 2", {}).at(0).at(0), "2");
    long long again = 0;
    connection->visitRows(numbers, {}, [&](std::span<const storage::SqlCell>) { ++again; });
    connection->commit();

    EXPECT_EQ(again, rows);
}

JOURNAL_ON_EVERY_DATABASE(LongResults);

} // namespace
} // namespace journal::testing
