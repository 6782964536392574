#include "ServerHarness.h"
#include "text/RussianOrder.h"

#include <functional>
#include <gmock/gmock.h>
#include <numeric>
#include <set>

namespace journal::testing {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> column(const json& list, const char* member) {
    std::vector<std::string> values;
    for (const json& record : list)
        values.push_back(record.at(member).get<std::string>());
    return values;
}

json sortCommand(const char* command, const char* field, const char* path) {
    return {{"command", command}, {"field", field}, {"path", path}};
}

class JournalCommands : public ServerTest {
protected:
    std::string workshop = server.addWorkshop("Механический цех");
    std::string machine = server.addMachine(workshop, "Станок 16К20", "ТС-2");
    std::string ivanov = server.addRepairman("Иванов", "Пётр");
    std::string petrov = server.addRepairman("Петров", "Олег");
};

TEST_P(JournalCommands, ListShowsDisplayTextsOfEveryRecord) {
    server.addService(machine, {ivanov, petrov}, "10.03.2024", "11.03.2024");
    server.addService(machine, {petrov}, "12.03.2024");

    const json answer = server.send({{"command", "all_service"}});

    ASSERT_TRUE(answer.contains("success")) << answer.dump();
    const json& list = answer.at("data");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (json{{"Id", list[0].at("Id")},
                             {"MachineTitle", "Станок 16К20"},
                             {"WorkshopTitle", "Механический цех"},
                             {"Description", "Замена подшипника"},
                             {"Repairman", "Иванов П. С., Петров О. С."},
                             {"TimeStart", "10.03.2024 08:30:00"},
                             {"TimeFinish", "11.03.2024 17:00:00"}}));
    EXPECT_EQ(list[1].at("TimeFinish"), "");
    EXPECT_TRUE(list[0].at("Id").is_string());
}

TEST_P(JournalCommands, UidAndViewUseTheNamesOfThePickLists) {
    const std::string open = server.addService(machine, {petrov, ivanov}, "12.03.2024");
    const json lists = server.send({{"command", "load_list_data"}}).at("list");

    const json uid = server.send({{"command", "uid_service"}, {"id_service", open}});
    const json view = server.send({{"command", "view_service"}, {"id_service", open}});

    EXPECT_EQ(uid.at("uid"), (json{{"Uid", open},
                                   {"Machine", lists.at("machine")[0].at("Title")},
                                   {"Description", "Замена подшипника"},
                                   {"Repairman", {"Петров Олег Сергеевич", "Иванов Пётр Сергеевич"}},
                                   {"DateStart", "12.03.2024"},
                                   {"TimeStart", "08:30:00"},
                                   {"DateFinish", nullptr},
                                   {"TimeFinish", ""}}));
    json expectedView = uid.at("uid");
    expectedView.erase("Uid");
    EXPECT_EQ(view.at("view"), expectedView);
    EXPECT_THAT(column(lists.at("repairman"), "Name"), ElementsAre("Иванов Пётр Сергеевич", "Петров Олег Сергеевич"));
}

TEST_P(JournalCommands, EditReplacesTheRecordAndItsRepairmen) {
    const std::string id = server.addService(machine, {ivanov}, "12.03.2024");
    json edit = ServerHarness::saveServiceCommand(machine, {petrov}, "13.03.2024", "14.03.2024");
    edit["command"] = "edit_service";
    edit["id_service"] = id;
    edit["description_service"] = " Первая строка Вторая строка ";

    ASSERT_TRUE(server.send(edit).contains("success"));

    const json uid = server.send({{"command", "uid_service"}, {"id_service", id}}).at("uid");
    EXPECT_EQ(uid.at("Description"), "Первая строка Вторая строка");
    EXPECT_EQ(uid.at("Repairman"), json({"Петров Олег Сергеевич"}));
    EXPECT_EQ(uid.at("DateStart"), "13.03.2024");
    EXPECT_EQ(uid.at("DateFinish"), "14.03.2024");
    EXPECT_EQ(uid.at("TimeFinish"), "17:00:00");
}

TEST_P(JournalCommands, DeleteAnswersWithTheRemainingJournal) {
    const std::string first = server.addService(machine, {ivanov}, "12.03.2024");
    const std::string second = server.addService(machine, {ivanov}, "13.03.2024");

    const json answer = server.send({{"command", "delete_service"}, {"id", first}});

    EXPECT_THAT(column(answer.at("data"), "Id"), ElementsAre(second));
}

TEST_P(JournalCommands, RepairmenChosenTwiceBelongToTheRecordOnce) {
    const std::string id = server.addService(machine, {ivanov, petrov, ivanov}, "12.03.2024");

    const json uid = server.send({{"command", "uid_service"}, {"id_service", id}}).at("uid");

    EXPECT_EQ(uid.at("Repairman").size(), 2u);
}

struct SortCase {
    const char* field;
    const char* path;
    std::vector<int> order; // positions of the records made by the test, in the expected order
};

// Records: 0 "Б-станок" started 10.12.2023, 1 "а-станок" started 02.01.2024 and finished, 2 "В-станок" started
// 05.01.2024 and finished earlier than 1.
class JournalSort : public JournalCommands {};

TEST_P(JournalSort, OrdersByEveryColumnOfTheMenu) {
    const std::string machineB = server.addMachine(workshop, "Б-станок", "1");
    const std::string machineA = server.addMachine(workshop, "а-станок", "2");
    const std::string machineV = server.addMachine(workshop, "В-станок", "3");
    json command = ServerHarness::saveServiceCommand(machineB, {ivanov}, "10.12.2023", std::nullopt);
    command["description_service"] = " в";
    ASSERT_TRUE(server.send(command).contains("success"));
    command = ServerHarness::saveServiceCommand(machineA, {ivanov}, "02.01.2024", "20.01.2024");
    command["description_service"] = " Б";
    ASSERT_TRUE(server.send(command).contains("success"));
    command = ServerHarness::saveServiceCommand(machineV, {ivanov}, "05.01.2024", "06.01.2024");
    command["description_service"] = " а";
    ASSERT_TRUE(server.send(command).contains("success"));
    const std::vector<std::string> ids = column(server.send({{"command", "all_service"}}).at("data"), "Id");

    const std::vector<SortCase> cases = {
        {"S.id", "desc", {2, 1, 0}},         {"S.id", "asc", {0, 1, 2}},          {"M.title", "asc", {1, 0, 2}},
        {"M.title", "desc", {2, 0, 1}},      {"S.description", "asc", {2, 1, 0}}, {"S.time_start", "asc", {0, 1, 2}},
        {"S.time_start", "desc", {2, 1, 0}}, {"S.time_finish", "asc", {2, 1, 0}}, {"S.time_finish", "desc", {0, 1, 2}},
        {"W.title", "asc", {0, 1, 2}},
    };
    for (const SortCase& sortCase : cases) {
        std::vector<std::string> expected;
        for (const int position : sortCase.order)
            expected.push_back(ids[position]);
        const json answer = server.send(sortCommand("sort_service", sortCase.field, sortCase.path));
        EXPECT_THAT(column(answer.at("data"), "Id"), ElementsAreArray(expected))
            << sortCase.field << ' ' << sortCase.path;
    }
}

// Many records with equal and nearly equal keys: every order is the Russian order of the column's text (case aside)
// or that of the times, missing finishes last going up and first going down, ties by record number.
TEST_P(JournalSort, TiesAndNearTiesKeepTheOrderOfTheNumbers) {
    const std::vector<std::string> workshops = {server.addWorkshop("Цех ё"), server.addWorkshop("цех Е"),
                                                server.addWorkshop("Цех №2")};
    const std::vector<std::string> titles = {"Станок", "станок", "Ёмкость", "емкость", "Пресс 10", "Пресс 9"};
    std::vector<std::string> machines;
    for (std::size_t i = 0; i < titles.size(); ++i)
        machines.push_back(server.addMachine(workshops[i % workshops.size()], titles[i], std::to_string(i)));
    const std::vector<std::string> descriptions = {"Ремонт", "ремонт", "РЕМОНТ", "Ёлка", "елка", "Замена"};
    const std::vector<std::string> starts = {"2024-03-01", "2024-03-02", "2024-03-01"};
    struct Made {
        std::string start;
        std::optional<std::string> finish;
    };
    std::vector<Made> made;
    const auto shown = [](const std::string& iso) {
        return iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4);
    };
    for (std::size_t i = 0; i < 24; ++i) {
        const Made record{starts[i % starts.size()],
                          i % 4 == 0 ? std::nullopt : std::optional<std::string>(i % 2 ? "2024-03-10" : "2024-03-11")};
        json command =
            ServerHarness::saveServiceCommand(machines[i % machines.size()], {ivanov}, shown(record.start),
                                              record.finish ? std::optional(shown(*record.finish)) : std::nullopt);
        command["description_service"] = descriptions[(i * 5) % descriptions.size()];
        ASSERT_TRUE(server.send(command).contains("success"));
        made.push_back(record);
    }
    const json all = server.send({{"command", "all_service"}}).at("data");
    ASSERT_EQ(all.size(), made.size());

    const auto textOrder = [&](const char* member) {
        return [&all, member](std::size_t left, std::size_t right) {
            return RussianOrder::text().compare(all[left].at(member).get<std::string>(),
                                                all[right].at(member).get<std::string>()) < 0;
        };
    };
    const auto startOrder = [&](std::size_t left, std::size_t right) { return made[left].start < made[right].start; };
    // Missing finishes count as the latest.
    const auto finishOrder = [&](std::size_t left, std::size_t right) {
        return made[left].finish.value_or("9") < made[right].finish.value_or("9");
    };
    const std::vector<std::pair<const char*, std::function<bool(std::size_t, std::size_t)>>> fields = {
        {"M.title", textOrder("MachineTitle")},
        {"W.title", textOrder("WorkshopTitle")},
        {"S.description", textOrder("Description")},
        {"S.time_start", startOrder},
        {"S.time_finish", finishOrder}};
    for (const auto& [field, before] : fields) {
        for (const bool descending : {false, true}) {
            std::vector<std::size_t> positions(all.size());
            std::iota(positions.begin(), positions.end(), 0);
            std::stable_sort(positions.begin(), positions.end(),
                             [&, &before = before](std::size_t left, std::size_t right) {
                                 return descending ? before(right, left) : before(left, right);
                             });
            std::vector<std::string> expected;
            for (const std::size_t position : positions)
                expected.push_back(all[position].at("Id"));
            const json answer = server.send(sortCommand("sort_service", field, descending ? "desc" : "asc"));
            EXPECT_THAT(column(answer.at("data"), "Id"), ElementsAreArray(expected))
                << field << (descending ? " desc" : " asc");
        }
    }
}

class DirectoryCommands : public ServerTest {};

TEST_P(DirectoryCommands, MachinesComeWithTheWorkshopsToChooseFrom) {
    const std::string workshop = server.addWorkshop("Сборочный цех");
    const std::string machine = server.addMachine(workshop, "Пресс П6330", "ПГ-3");

    const json data = server.send({{"command", "all_machine"}}).at("data");

    ASSERT_EQ(data.at("machine").size(), 1u);
    const json& record = data.at("machine")[0];
    EXPECT_EQ(record.at("Id"), machine);
    EXPECT_EQ(record.at("Title"), "Пресс П6330");
    EXPECT_EQ(record.at("Description"), "Станок");
    EXPECT_EQ(record.at("Inventory"), "ПГ-3");
    EXPECT_EQ(record.at("TitleWorkshop"), "Сборочный цех");
    EXPECT_THAT(record.at("AtCreate").get<std::string>(),
                ::testing::MatchesRegex("[0-9]{2}\\.[0-9]{2}\\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}"));
    EXPECT_EQ(data.at("workshop"), (json{{{"Id", workshop}, {"Title", "Сборочный цех"}}}));
}

TEST_P(DirectoryCommands, InventoryNumbersSortNaturally) {
    const std::string workshop = server.addWorkshop();
    for (const char* inventory : {"ТС-10", "тс-9", "ТС-2", "А-1"})
        server.addMachine(workshop, std::string("Станок ") + inventory, inventory);

    const json answer = server.send(sortCommand("sort_machine", "m.Inventory", "asc"));

    EXPECT_THAT(column(answer.at("data").at("machine"), "Inventory"), ElementsAre("А-1", "ТС-2", "тс-9", "ТС-10"));
}

TEST_P(DirectoryCommands, SurnamesSortAlphabeticallyWithYoBesideYe) {
    for (const char* surname : {"Жуков", "Ёлкин", "ежов", "Егоров", "Абрамов"})
        server.addRepairman(surname);

    const json ascending = server.send(sortCommand("sort_repairman", "surname", "asc"));
    const json descending = server.send(sortCommand("sort_repairman", "surname", "desc"));

    EXPECT_THAT(column(ascending.at("data"), "Surname"), ElementsAre("Абрамов", "Егоров", "ежов", "Ёлкин", "Жуков"));
    EXPECT_THAT(column(descending.at("data"), "Surname"), ElementsAre("Жуков", "Ёлкин", "ежов", "Егоров", "Абрамов"));
}

TEST_P(DirectoryCommands, ConstructionDatesSortChronologically) {
    server.addWorkshop("Старый", "31.12.1975");
    server.addWorkshop("Новый", "01.01.2001");
    server.addWorkshop("Средний", "15.06.1990");

    const json answer = server.send(sortCommand("sort_workshop", "at_construct", "asc"));

    EXPECT_THAT(column(answer.at("data"), "AtConstruct"), ElementsAre("31.12.1975", "15.06.1990", "01.01.2001"));
}

TEST_P(DirectoryCommands, SearchIgnoresCaseInCyrillic) {
    const std::string workshop = server.addWorkshop("Котельная");
    server.addMachine(workshop, "Паровой КОТЁЛ ДКВР", "К-1");
    server.addMachine(workshop, "Насос ЦНСГ", "Н-2");
    server.addRepairman("Смирнова", "Ольга", "Электромонтёр");
    server.addRepairman("Попов", "Дмитрий", "Сварщик");

    const json machines = server.send({{"command", "search_machine"}, {"search", "котёл"}});
    const json byWorkshop = server.send({{"command", "search_machine"}, {"search", "КОТЕЛЬ"}});
    const json repairmen = server.send({{"command", "search_repairman"}, {"search", "МОНТ"}});
    const json workshops = server.send({{"command", "search_workshop"}, {"search", "тельн"}});

    EXPECT_THAT(column(machines.at("data").at("machine"), "Title"), ElementsAre("Паровой КОТЁЛ ДКВР"));
    EXPECT_EQ(byWorkshop.at("data").at("machine").size(), 2u);
    EXPECT_EQ(byWorkshop.at("data").at("workshop").size(), 1u);
    EXPECT_THAT(column(repairmen.at("data"), "Surname"), ElementsAre("Смирнова"));
    EXPECT_THAT(column(workshops.at("data"), "Title"), ElementsAre("Котельная"));
}

TEST_P(DirectoryCommands, EditChangesTheRecord) {
    const std::string workshop = server.addWorkshop("Цех 1", "01.01.1990");
    const std::string other = server.addWorkshop("Цех 2", "01.01.1991");
    const std::string machine = server.addMachine(workshop);
    const std::string repairman = server.addRepairman();

    const json answers[] = {
        server.send({{"command", "edit_workshop"},
                     {"id_workshop", workshop},
                     {"name_workshop", " Цех 1А "},
                     {"description_workshop", " Новое описание"},
                     {"date_workshop", "02.02.1992"}}),
        server.send({{"command", "edit_machine"},
                     {"name_machine", "Станок 2"},
                     {"description_machine", ""},
                     {"inventory_machine", "И-7"},
                     {"id_workshop", other},
                     {"id_machine", machine}}),
        server.send({{"command", "edit_repairman"},
                     {"id_repairman", repairman},
                     {"surname_repairman", "Сидоров"},
                     {"name_repairman", "Иван"},
                     {"patronymic_repairman", ""},
                     {"profession_repairman", "Токарь"}}),
    };
    for (const json& answer : answers)
        EXPECT_EQ(answer, json({{"success", true}}));

    const json workshops = server.send({{"command", "all_workshop"}}).at("data");
    EXPECT_EQ(workshops[0].at("Title"), "Цех 1А");
    EXPECT_EQ(workshops[0].at("Description"), "Новое описание");
    EXPECT_EQ(workshops[0].at("AtConstruct"), "02.02.1992");
    const json machines = server.send({{"command", "all_machine"}}).at("data").at("machine");
    EXPECT_EQ(machines[0].at("TitleWorkshop"), "Цех 2");
    EXPECT_EQ(machines[0].at("Inventory"), "И-7");
    const json repairmen = server.send({{"command", "all_repairman"}}).at("data");
    EXPECT_EQ(repairmen[0].at("Surname"), "Сидоров");
    EXPECT_EQ(repairmen[0].at("Profession"), "Токарь");
}

TEST_P(DirectoryCommands, DeleteAnswersWithTheRemainingList) {
    const std::string kept = server.addWorkshop("Остаётся");
    const std::string gone = server.addWorkshop("Уходит");
    const std::string machine = server.addMachine(kept);
    const std::string unusedMachine = server.addMachine(kept, "Лишний", "Л-1");
    const std::string repairman = server.addRepairman();

    const json workshops = server.send({{"command", "delete_workshop"}, {"id", gone}});
    const json machines = server.send({{"command", "delete_machine"}, {"id", unusedMachine}});
    const json repairmen = server.send({{"command", "delete_repairman"}, {"id", repairman}});

    EXPECT_THAT(column(workshops.at("data"), "Id"), ElementsAre(kept));
    EXPECT_THAT(column(machines.at("data").at("machine"), "Id"), ElementsAre(machine));
    EXPECT_EQ(repairmen.at("data"), json::array());
}

TEST_P(DirectoryCommands, SameNamesAreToldApartInThePickLists) {
    const std::string workshop = server.addWorkshop();
    const std::string first = server.addMachine(workshop, "Станок 16К20", "ТС-2");
    server.addMachine(workshop, "Станок 16К20", "ТС-10");
    const std::string fitter = server.addRepairman("Иванов", "Пётр", "Слесарь");
    server.addRepairman("Иванов", "Пётр", "Электрик");
    server.addRepairman("Иванов", "Пётр", "Электрик");
    const std::string service = server.addService(first, {fitter}, "01.02.2024");

    const json lists = server.send({{"command", "load_list_data"}}).at("list");
    const json uid = server.send({{"command", "uid_service"}, {"id_service", service}}).at("uid");

    const auto names = column(lists.at("repairman"), "Name");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 3u);
    EXPECT_THAT(column(lists.at("machine"), "Title"),
                ::testing::UnorderedElementsAre("Станок 16К20 (инв. № ТС-2)", "Станок 16К20 (инв. № ТС-10)"));
    EXPECT_EQ(uid.at("Machine"), "Станок 16К20 (инв. № ТС-2)");
    EXPECT_EQ(uid.at("Repairman"), json({"Иванов Пётр Сергеевич (Слесарь)"}));
}

JOURNAL_ON_EVERY_DATABASE(JournalCommands);
JOURNAL_ON_EVERY_DATABASE(JournalSort);
JOURNAL_ON_EVERY_DATABASE(DirectoryCommands);

// Another plant speaks other date and time forms; the server reads and writes them the same way.
class ServerFormatsTest : public ::testing::TestWithParam<Backend> {
protected:
    ServerHarness server{GetParam(), "yyyy-MM-dd", "hh:mm AP"};
};

TEST_P(ServerFormatsTest, DatesAndTimesTravelInTheConfiguredForms) {
    const std::string machine = server.addMachine(server.addWorkshop("Цех", "1990-02-01"));
    json command = ServerHarness::saveServiceCommand(machine, {}, "2024-03-10", "2024-03-10");
    command["start_time_service"] = "08:30 AM";
    command["finish_time_service"] = "12:05 PM";

    ASSERT_EQ(server.send(command), json({{"success", true}}));

    const json row = server.send({{"command", "all_service"}}).at("data")[0];
    EXPECT_EQ(row.at("TimeStart"), "2024-03-10 08:30 AM");
    EXPECT_EQ(row.at("TimeFinish"), "2024-03-10 12:05 PM");
    const json uid = server.send({{"command", "uid_service"}, {"id_service", row.at("Id")}}).at("uid");
    EXPECT_EQ(uid.at("DateStart"), "2024-03-10");
    EXPECT_EQ(uid.at("TimeFinish"), "12:05 PM");
    EXPECT_EQ(server.send({{"command", "all_workshop"}}).at("data")[0].at("AtConstruct"), "1990-02-01");
}

INSTANTIATE_TEST_SUITE_P(Databases, ServerFormatsTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) { return backendName(info.param); });

} // namespace
} // namespace journal::testing
