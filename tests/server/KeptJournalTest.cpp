#include "ServerHarness.h"
#include "protocol/ListAnswers.h"
#include "storage/JournalStore.h"

#include <functional>
#include <gmock/gmock.h>

namespace journal::testing {
namespace {

using nlohmann::json;
using storage::ServiceColumn;

struct ListOrder {
    const char* field;
    ServiceColumn column;
    bool descending;
};

constexpr ListOrder everyOrder[] = {
    {"S.id", ServiceColumn::Id, false},
    {"S.id", ServiceColumn::Id, true},
    {"M.title", ServiceColumn::MachineTitle, false},
    {"M.title", ServiceColumn::MachineTitle, true},
    {"W.title", ServiceColumn::WorkshopTitle, false},
    {"W.title", ServiceColumn::WorkshopTitle, true},
    {"S.description", ServiceColumn::Description, false},
    {"S.description", ServiceColumn::Description, true},
    {"S.time_start", ServiceColumn::Start, false},
    {"S.time_start", ServiceColumn::Start, true},
    {"S.time_finish", ServiceColumn::Finish, false},
    {"S.time_finish", ServiceColumn::Finish, true},
};
constexpr const ListOrder& byNumber = everyOrder[0];

// The server keeps the journal it wrote last; every answer taken from it must be the journal as it is now.
class KeptJournal : public ServerTest {
public:
    using ServerTest::server;
    std::vector<std::string> workshops = {server.addWorkshop("Цех №2"), server.addWorkshop("цех №10")};
    std::vector<std::string> machines = {server.addMachine(workshops[0], "Станок 16К20"),
                                         server.addMachine(workshops[1], "Пресс", "ТС-2")};
    std::vector<std::string> repairmen = {server.addRepairman("Петров"), server.addRepairman("Иванов")};
    std::vector<std::string> records = {
        server.addService(machines[0], {repairmen[0], repairmen[1]}, "10.03.2024", "11.03.2024"),
        server.addService(machines[1], {repairmen[1]}, "09.03.2024"),
        server.addService(machines[0], {repairmen[0]}, "12.03.2024", "12.03.2024")};

    json sent(const ListOrder& order) const {
        return server
            .send({{"command", "sort_service"}, {"field", order.field}, {"path", order.descending ? "desc" : "asc"}})
            .at("data");
    }

    // The journal in `order` as it is written when nothing is kept.
    json readAfresh(const ListOrder& order) const {
        auto connection = server.database().acquire();
        storage::JournalStore store(*connection);
        const ServerFormats formats("dd.MM.yyyy", "HH:mm:ss");
        const protocol::ListAnswers answers(store, formats);
        protocol::JsonText text;
        protocol::JsonWriter out(text);
        connection->begin(false);
        answers.journal(out, {order.column, order.descending});
        connection->commit();
        return text;
    }

    void change(const std::string& sql, const storage::SqlParams& params = {}) const {
        server.database().acquire()->query(sql, params);
    }
};

TEST_P(KeptJournal, EveryOrderAskedAgainIsTheJournalReadAfresh) {
    for (int round = 1; round <= 2; ++round) {
        for (const ListOrder& order : everyOrder)
            EXPECT_EQ(sent(order), readAfresh(order))
                << order.field << (order.descending ? " desc" : " asc") << ", round " << round;
        EXPECT_EQ(server.send({{"command", "all_service"}}).at("data"), readAfresh(byNumber)) << "round " << round;
    }
}

struct JournalChange {
    const char* what;
    std::function<void(const KeptJournal&)> make;
    bool postgresOnly = false;
};

// Changes made through the server and behind its back, by any session, by whatever statement.
// Made one after another, through the server and behind its back, by whatever statement; each shows in every order.
const JournalChange journalChanges[] = {
    {"a description changed",
     [](const KeptJournal& t) { t.change("UPDATE service SET description = 'Ёмкость' WHERE id = ?", {t.records[1]}); }},
    {"a finish cleared",
     [](const KeptJournal& t) { t.change("UPDATE service SET finish_at = NULL WHERE id = ?", {t.records[2]}); }},
    {"a machine renamed",
     [](const KeptJournal& t) { t.change("UPDATE machine SET title = 'Агрегат' WHERE id = ?", {t.machines[0]}); }},
    {"a machine moved",
     [](const KeptJournal& t) {
         t.change("UPDATE machine SET workshop_id = ? WHERE id = ?", {t.workshops[1], t.machines[0]});
     }},
    {"a workshop renamed",
     [](const KeptJournal& t) { t.change("UPDATE workshop SET title = 'Аа' WHERE id = ?", {t.workshops[1]}); }},
    {"a repairman renamed",
     [](const KeptJournal& t) { t.change("UPDATE repairman SET surname = 'Яковлев' WHERE id = ?", {t.repairmen[0]}); }},
    {"a crew reordered",
     [](const KeptJournal& t) {
         t.change("UPDATE service_repairman SET position = 1 - position WHERE service_id = ?", {t.records[0]});
     }},
    {"a crew cut",
     [](const KeptJournal& t) {
         t.change("DELETE FROM service_repairman WHERE service_id = ? AND position = 1", {t.records[0]});
     }},
    {"a record saved",
     [](const KeptJournal& t) { t.server.addService(t.machines[1], {t.repairmen[0]}, "01.01.2023"); }},
    {"a record edited",
     [](const KeptJournal& t) {
         json edit = ServerHarness::saveServiceCommand(t.machines[1], {t.repairmen[1]}, "13.03.2024", std::nullopt);
         edit["command"] = "edit_service";
         edit["id_service"] = t.records[0];
         t.server.send(edit);
     }},
    {"a record deleted",
     [](const KeptJournal& t) {
         t.server.send({{"command", "delete_service"}, {"id", t.records[2]}});
     }},
    {"a change from before the log's first step",
     [](const KeptJournal& t) {
         t.change("UPDATE service SET description = 'Бак' WHERE id = ?", {t.records[0]});
         t.change("DELETE FROM journal_step");
     }},
    {"every crew truncated", [](const KeptJournal& t) { t.change("TRUNCATE service_repairman"); }, true},
};

TEST_P(KeptJournal, AChangeIsSeenByTheNextAnswerInEveryOrder) {
    for (const JournalChange& journalChange : journalChanges) {
        if (journalChange.postgresOnly && GetParam() != Backend::Postgres)
            continue;
        SCOPED_TRACE(journalChange.what);
        std::vector<json> before;
        for (const ListOrder& order : everyOrder)
            before.push_back(sent(order));

        journalChange.make(*this);

        for (std::size_t i = 0; i < std::size(everyOrder); ++i) {
            const json after = sent(everyOrder[i]);
            EXPECT_EQ(after, readAfresh(everyOrder[i]))
                << everyOrder[i].field << (everyOrder[i].descending ? " desc" : " asc");
            EXPECT_NE(after, before[i]) << "the change does not show";
        }
    }
}

// After a change only the records the log names are read again: one whose lines are taken out of the log stays
// as it was kept.
TEST_P(KeptJournal, AfterAChangeOnlyTheRecordsTheLogNamesAreReadAgain) {
    const json before = sent(byNumber);
    change("UPDATE service SET description = 'Ёмкость' WHERE id = ?", {records[0]});
    change("UPDATE service SET description = 'Бак' WHERE id = ?", {records[1]});
    change("DELETE FROM journal_changed WHERE service_id = ?", {records[1]});

    const json after = sent(byNumber);

    EXPECT_EQ(after.at(0).at("Description"), "Ёмкость");
    EXPECT_EQ(after.at(1), before.at(1));
    EXPECT_EQ(after.at(2), before.at(2));
}

// The log keeps its latest steps only; a journal kept from a state it no longer reaches is read afresh, and writing
// goes on.
TEST_P(KeptJournal, TheLogKeepsItsLatestStepsOnly) {
    for (const ListOrder& order : everyOrder)
        sent(order);
    constexpr int changes = 5000;
    {
        auto connection = server.database().acquire();
        connection->begin(true);
        for (int i = 0; i < changes; ++i)
            connection->query("UPDATE workshop SET title = ? WHERE id = ?", {"Цех " + std::to_string(i), workshops[0]});
        connection->commit();
    }

    const auto steps = server.database().acquire()->query("SELECT COUNT(*) FROM journal_step");
    EXPECT_LT(std::stoi(steps.at(0).at(0).value()), changes);
    for (const ListOrder& order : everyOrder)
        EXPECT_EQ(sent(order), readAfresh(order)) << order.field << (order.descending ? " desc" : " asc");
    server.addService(machines[1], {repairmen[0]}, "01.01.2023");
    EXPECT_EQ(sent(byNumber), readAfresh(byNumber));
}

// Brought up to date change after change, past the point where the kept journal and orders are made afresh.
TEST_P(KeptJournal, ChangesInARowKeepEveryOrderRight) {
    constexpr ListOrder checked[] = {byNumber, everyOrder[7]}; // the journal itself and a column's order
    for (int i = 0; i < 70; ++i) {
        change("UPDATE service SET description = ? WHERE id = ?", {"Замена " + std::to_string(i), records[i % 3]});
        for (const ListOrder& order : checked)
            ASSERT_EQ(sent(order), readAfresh(order)) << "change " << i << ", " << order.field;
    }
}

// A database without the token of its state (an older server's tables changed by hand) is read every time.
TEST_P(KeptJournal, WithoutItsStateTheJournalIsReadEachTime) {
    change("DELETE FROM journal_state");
    EXPECT_EQ(sent(byNumber), readAfresh(byNumber));

    change("UPDATE service SET description = 'Ёмкость' WHERE id = ?", {records[1]});

    EXPECT_EQ(sent(byNumber), readAfresh(byNumber));
    EXPECT_EQ(sent(byNumber).at(1).at("Description"), "Ёмкость");
}

JOURNAL_ON_EVERY_DATABASE(KeptJournal);

} // namespace
} // namespace journal::testing
