#include "ServerHarness.h"

#include <functional>
#include <gmock/gmock.h>

namespace journal::testing {
namespace {

using nlohmann::json;

// A plant with one record of each kind; every one is in use by the next.
class Refusals : public ServerTest {
protected:
    std::string workshop = server.addWorkshop();
    std::string machine = server.addMachine(workshop);
    std::string repairman = server.addRepairman();
    std::string service = server.addService(machine, {repairman}, "10.03.2024", "11.03.2024");

    json everything() const {
        return {server.send({{"command", "all_service"}}), server.send({{"command", "all_machine"}}),
                server.send({{"command", "all_workshop"}}), server.send({{"command", "all_repairman"}})};
    }
};

struct RefusalCase {
    const char* name;
    // Builds the command from the ids of the plant: workshop, machine, repairman, service.
    std::function<json(const std::string&, const std::string&, const std::string&, const std::string&)> command;
    const char* message; // a part of the expected error text
};

json saveService(const std::string& machine, const std::string& repairman) {
    return ServerHarness::saveServiceCommand(machine, {repairman}, "10.03.2024", "11.03.2024");
}

json with(json command, const char* member, json value) {
    command[member] = std::move(value);
    return command;
}

json without(json command, const char* member) {
    command.erase(member);
    return command;
}

json saveMachine(const std::string& workshop) {
    return {{"command", "save_machine"},  {"name_machine", "Станок"}, {"description_machine", ""},
            {"inventory_machine", "И-1"}, {"id_workshop", workshop},  {"id_machine", "0"}};
}

json saveWorkshop() {
    return {{"command", "save_workshop"},
            {"id_workshop", "0"},
            {"name_workshop", "Цех"},
            {"description_workshop", ""},
            {"date_workshop", "01.01.2000"}};
}

json saveRepairman() {
    return {{"command", "save_repairman"}, {"id_repairman", "0"},        {"surname_repairman", "Петров"},
            {"name_repairman", "Иван"},    {"patronymic_repairman", ""}, {"profession_repairman", ""}};
}

std::string letters(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += "ж";
    return text;
}

const std::vector<RefusalCase> refusalCases = {
    {"UnknownCommand",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "drop_everything"}};
     },
     "Неизвестная команда"},
    {"CommandNotAString",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", 7}};
     },
     "нет команды"},
    {"NoCommand",
     [](auto&, auto&, auto&, auto&) {
         return json{{"id", "1"}};
     },
     "нет команды"},
    {"MissingMember", [](auto& w, auto&, auto&, auto&) { return without(saveMachine(w), "inventory_machine"); },
     "inventory_machine"},
    {"MemberNotAString",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "view_service"}, {"id_service", 1}};
     },
     "строкой"},
    {"IdNotANumber",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "uid_service"}, {"id_service", "abc"}};
     },
     "номер записи"},
    {"IdNegative",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "delete_service"}, {"id", "-1"}};
     },
     "номер записи"},
    {"IdFraction",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "delete_machine"}, {"id", "1.5"}};
     },
     "номер записи"},
    {"IdEmpty",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "delete_workshop"}, {"id", ""}};
     },
     "номер записи"},
    {"IdTooBig",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "delete_repairman"}, {"id", "99999999999999999999"}};
     },
     "номер записи"},
    {"UnknownServiceForUid",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "uid_service"}, {"id_service", "999"}};
     },
     "не найдена"},
    {"UnknownServiceForView",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "view_service"}, {"id_service", "999"}};
     },
     "не найдена"},
    {"UnknownServiceForDelete",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "delete_service"}, {"id", "999"}};
     },
     "не найдена"},
    {"UnknownServiceForEdit",
     [](auto&, auto& m, auto& r, auto&) {
         return with(with(saveService(m, r), "command", "edit_service"), "id_service", "999");
     },
     "не найдена"},
    {"UnknownMachineForEdit",
     [](auto& w, auto&, auto&, auto&) {
         return with(with(saveMachine(w), "command", "edit_machine"), "id_machine", "999");
     },
     "не найдено"},
    {"UnknownWorkshopForEdit",
     [](auto&, auto&, auto&, auto&) {
         return with(with(saveWorkshop(), "command", "edit_workshop"), "id_workshop", "999");
     },
     "не найден"},
    {"UnknownRepairmanForEdit",
     [](auto&, auto&, auto&, auto&) {
         return with(with(saveRepairman(), "command", "edit_repairman"), "id_repairman", "999");
     },
     "не найден"},
    {"UnknownMachineInRecord", [](auto&, auto&, auto& r, auto&) { return saveService("999", r); }, "не найдено"},
    {"UnknownRepairmanInRecord", [](auto&, auto& m, auto&, auto&) { return saveService(m, "999"); }, "не найден"},
    {"UnknownWorkshopOfMachine", [](auto&, auto&, auto&, auto&) { return saveMachine("999"); }, "не найден"},
    {"RepairmenNotJson",
     [](auto&, auto& m, auto& r, auto&) { return with(saveService(m, r), "ids_repairman_service", "[3,5"); },
     "список ремонтников"},
    {"RepairmanIdNotAString",
     [](auto&, auto& m, auto& r, auto&) {
         return with(saveService(m, r), "ids_repairman_service", R"({"ids_repairman":[1]})");
     },
     "строками"},
    {"DateInAnotherForm",
     [](auto&, auto& m, auto& r, auto&) { return with(saveService(m, r), "start_date_service", "2024-03-10"); },
     "формату"},
    {"DateThatDoesNotExist",
     [](auto&, auto& m, auto& r, auto&) { return with(saveService(m, r), "start_date_service", "31.02.2024"); },
     "формату"},
    {"TimeOutOfRange",
     [](auto&, auto& m, auto& r, auto&) { return with(saveService(m, r), "finish_time_service", "25:00:00"); },
     "формату"},
    {"WorkshopDate", [](auto&, auto&, auto&, auto&) { return with(saveWorkshop(), "date_workshop", "вчера"); },
     "формату"},
    {"FinishBeforeStart",
     [](auto&, auto& m, auto& r, auto&) { return with(saveService(m, r), "finish_date_service", "09.03.2024"); },
     "раньше"},
    {"FinishDateWithoutTime",
     [](auto&, auto& m, auto& r, auto&) { return without(saveService(m, r), "finish_time_service"); },
     "датой и временем"},
    {"TitleTooLong", [](auto& w, auto&, auto&, auto&) { return with(saveMachine(w), "name_machine", letters(256)); },
     "255"},
    {"DescriptionTooLong",
     [](auto&, auto& m, auto& r, auto&) { return with(saveService(m, r), "description_service", letters(1001)); },
     "1000"},
    {"InventoryTooLong",
     [](auto& w, auto&, auto&, auto&) { return with(saveMachine(w), "inventory_machine", letters(21)); }, "20"},
    {"SurnameTooLong",
     [](auto&, auto&, auto&, auto&) { return with(saveRepairman(), "surname_repairman", letters(256)); }, "255"},
    {"EmptyTitle", [](auto&, auto&, auto&, auto&) { return with(saveWorkshop(), "name_workshop", "   "); },
     "не заполнено"},
    {"SearchTooShort",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "search_machine"}, {"search", " аб "}};
     },
     "не менее 3"},
    {"SortByUnknownField",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "sort_workshop"}, {"field", "surname"}, {"path", "asc"}};
     },
     "не поддерживается"},
    {"SortInUnknownDirection",
     [](auto&, auto&, auto&, auto&) {
         return json{{"command", "sort_repairman"}, {"field", "id"}, {"path", "up"}};
     },
     "asc или desc"},
    {"DeleteWorkshopWithMachines",
     [](auto& w, auto&, auto&, auto&) {
         return json{{"command", "delete_workshop"}, {"id", w}};
     },
     "стоит оборудование"},
    {"DeleteMachineInJournal",
     [](auto&, auto& m, auto&, auto&) {
         return json{{"command", "delete_machine"}, {"id", m}};
     },
     "записи в журнале"},
    {"DeleteRepairmanInJournal",
     [](auto&, auto&, auto& r, auto&) {
         return json{{"command", "delete_repairman"}, {"id", r}};
     },
     "записях журнала"},
};

class RefusalTable : public Refusals {};

TEST_P(RefusalTable, EachRefusalSaysWhyAndStoresNothing) {
    const json before = everything();
    for (const RefusalCase& refusal : refusalCases) {
        const json answer = server.send(refusal.command(workshop, machine, repairman, service));
        ASSERT_TRUE(answer.is_object()) << refusal.name;
        EXPECT_FALSE(answer.contains("success")) << refusal.name << ": " << answer.dump();
        EXPECT_THAT(answer.value("error", ""), ::testing::HasSubstr(refusal.message)) << refusal.name;
    }
    EXPECT_EQ(everything(), before);
}

TEST_P(RefusalTable, TextsAtTheLimitsAreKept) {
    const json answers[] = {
        server.send(with(with(saveMachine(workshop), "name_machine", letters(255)), "inventory_machine", letters(20))),
        server.send(with(saveService(machine, repairman), "description_service", " " + letters(1000))),
        server.send(with(saveRepairman(), "profession_repairman", letters(255))),
    };
    for (const json& answer : answers)
        EXPECT_EQ(answer, json({{"success", true}}));
}

struct EnvelopeCase {
    const char* name;
    std::string body;
    const char* message;
};

TEST_P(RefusalTable, BrokenEnvelopesAreRefused) {
    const std::string command = formEncoded(R"({"command":"all_service"})");
    const std::vector<EnvelopeCase> cases = {
        {"WrongKey", "data=" + command + "&key=QmWrTsXnPdKb", "ключ"},
        {"ShortKey", "data=" + command + "&key=Qm", "ключ"},
        {"NoKey", "data=" + command, "ключ"},
        {"NoData", "key=" + std::string(accessKey), "нет поля data"},
        {"EmptyBody", "", "ключ"},
        {"DataNotJson", "data=all_service&key=" + std::string(accessKey), "объект JSON"},
        {"DataAnArray", "data=" + formEncoded("[1,2]") + "&key=" + accessKey, "объект JSON"},
        {"DataTwoObjects", "data=" + formEncoded("{}{}") + "&key=" + accessKey, "объект JSON"},
    };
    for (const EnvelopeCase& envelope : cases) {
        const RawAnswer answer = server.post(envelope.body);
        EXPECT_EQ(answer.status, 200) << envelope.name;
        EXPECT_THAT(answer.json.value("error", ""), ::testing::HasSubstr(envelope.message)) << envelope.name;
    }
}

JOURNAL_ON_EVERY_DATABASE(RefusalTable);

} // namespace
} // namespace journal::testing
