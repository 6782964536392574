#include "protocol/Commands.h"

#include "protocol/Protocol.h"
#include "protocol/Refusal.h"
#include "protocol/SortFields.h"
#include "text/UnicodeText.h"

#include <algorithm>
#include <array>

namespace journal::protocol {
namespace {

using nlohmann::json;
using namespace storage;

// The client's tables keep at most this many characters of a field.
constexpr std::size_t titleLimit = 255;
constexpr std::size_t descriptionLimit = 1000;
constexpr std::size_t inventoryLimit = 20;
constexpr std::size_t minimumSearchLength = 3;

json success() {
    return {{"success", true}};
}

json success(const char* member, json payload) {
    return {{"success", true}, {member, std::move(payload)}};
}

// {"data": ..., "success": true} written as the list is read, the members in a dumped document's order.
template <typename WriteData>
JsonText dataAnswer(const CommandContext& context, WriteData writeData) {
    JsonText text(context.answerSink);
    JsonWriter out(text);
    out.beginObject();
    out.key("data");
    const std::size_t depth = out.depth();
    try {
        writeData(out);
    } catch (...) {
        if (!text.handedOver())
            throw;
        out.closeTo(depth);
        out.member("error", failureMessage(std::current_exception()));
        out.endObject();
        throw FailedMidway{std::move(text), std::current_exception()};
    }
    out.key("success");
    out.boolean(true);
    out.endObject();
    return text;
}

std::string searchText(const CommandInput& input) {
    std::string text = trimmed(input.text("search"));
    if (characterCount(text) < minimumSearchLength)
        throw Refusal("Для поиска введите не менее 3 символов.");
    return text;
}

void requireRemoved(RemoveResult result, const char* notFound, const char* inUse) {
    if (result == RemoveResult::NotFound)
        throw Refusal(notFound);
    if (result == RemoveResult::InUse)
        throw Refusal(inUse);
}

// A save carries "0" for the id; the database numbers the new record, so only the member's presence counts.
void requireNewRecordId(const CommandInput& input, std::string_view member) {
    input.text(member);
}

// --- journal ---

std::vector<RecordId> crewIds(const CommandContext& context) {
    const std::string text = context.input.text("ids_repairman_service");
    const json crew = json::parse(text, nullptr, false);
    const auto ids = crew.is_object() ? crew.find("ids_repairman") : crew.end();
    if (ids == crew.end() || !ids->is_array())
        throw Refusal("Поле «ids_repairman_service» должно содержать список ремонтников.");
    std::vector<RecordId> result;
    for (const json& id : *ids) {
        if (!id.is_string())
            throw Refusal("Поле «ids_repairman_service» должно содержать номера ремонтников строками.");
        const RecordId repairmanId = parseRecordId(trimmed(id.get<std::string>()), "ids_repairman_service");
        if (!context.store.hasRepairman(repairmanId))
            throw Refusal("Ремонтник №" + std::to_string(repairmanId) + " не найден.");
        // Repairmen sharing a name arrive once per chosen line; each belongs to the record once.
        if (std::find(result.begin(), result.end(), repairmanId) == result.end())
            result.push_back(repairmanId);
    }
    return result;
}

ServiceInput serviceInput(const CommandContext& context) {
    const CommandInput& input = context.input;
    ServiceInput service;
    service.machineId = input.recordId("id_machine_service");
    if (!context.store.hasMachine(service.machineId))
        throw Refusal("Оборудование №" + std::to_string(service.machineId) + " не найдено.");
    service.description = input.boundedText("description_service", "Описание", descriptionLimit);
    service.repairmanIds = crewIds(context);
    service.start = {input.date("start_date_service"), input.time("start_time_service")};
    const bool hasFinishDate = input.optionalText("finish_date_service").has_value();
    const bool hasFinishTime = input.optionalText("finish_time_service").has_value();
    if (hasFinishDate != hasFinishTime)
        throw Refusal("Окончание ремонта нужно указать датой и временем.");
    if (hasFinishDate) {
        service.finish = DateTime{input.date("finish_date_service"), input.time("finish_time_service")};
        if (*service.finish < service.start)
            throw Refusal("Окончание ремонта не может быть раньше его начала.");
    }
    return service;
}

JsonText journalAnswer(const CommandContext& context, SortOrder<ServiceColumn> order = {}) {
    return dataAnswer(context, [&](JsonWriter& out) { context.answers.journal(out, order); });
}

JsonText allService(const CommandContext& context) {
    return journalAnswer(context);
}

JsonText sortService(const CommandContext& context) {
    return journalAnswer(context, serviceOrder(context.input));
}

JsonText deleteService(const CommandContext& context) {
    if (!context.store.removeService(context.input.recordId("id")))
        throw Refusal("Запись журнала не найдена.");
    return journalAnswer(context);
}

JsonText loadListData(const CommandContext& context) {
    return success("list", context.answers.pickLists());
}

json serviceDetails(const CommandContext& context, const char* member, bool withUid) {
    auto details = context.answers.serviceDetails(context.input.recordId("id_service"), withUid);
    if (!details)
        throw Refusal("Запись журнала не найдена.");
    return success(member, std::move(*details));
}

JsonText uidService(const CommandContext& context) {
    return serviceDetails(context, "uid", true);
}

JsonText viewService(const CommandContext& context) {
    return serviceDetails(context, "view", false);
}

JsonText saveService(const CommandContext& context) {
    context.store.addService(serviceInput(context));
    return success();
}

JsonText editService(const CommandContext& context) {
    const RecordId id = context.input.recordId("id_service");
    if (!context.store.updateService(id, serviceInput(context)))
        throw Refusal("Запись журнала не найдена.");
    return success();
}

// --- machines ---

MachineInput machineInput(const CommandContext& context) {
    const CommandInput& input = context.input;
    MachineInput machine;
    machine.title = input.boundedText("name_machine", "Название", titleLimit, true);
    machine.description = input.boundedText("description_machine", "Описание", descriptionLimit);
    machine.inventory = input.boundedText("inventory_machine", "Инвентарный номер", inventoryLimit);
    machine.workshopId = input.recordId("id_workshop");
    if (!context.store.hasWorkshop(machine.workshopId))
        throw Refusal("Цех №" + std::to_string(machine.workshopId) + " не найден.");
    return machine;
}

JsonText machineAnswer(const CommandContext& context, SortOrder<MachineColumn> order = {},
                       const std::optional<std::string>& search = {}) {
    return dataAnswer(context, [&](JsonWriter& out) { context.answers.machineDirectory(out, order, search); });
}

JsonText allMachine(const CommandContext& context) {
    return machineAnswer(context);
}

JsonText searchMachine(const CommandContext& context) {
    return machineAnswer(context, {}, searchText(context.input));
}

JsonText sortMachine(const CommandContext& context) {
    return machineAnswer(context, machineOrder(context.input));
}

JsonText deleteMachine(const CommandContext& context) {
    requireRemoved(context.store.removeMachine(context.input.recordId("id")), "Оборудование не найдено.",
                   "Оборудование нельзя удалить: на него есть записи в журнале ремонтов.");
    return machineAnswer(context);
}

JsonText saveMachine(const CommandContext& context) {
    requireNewRecordId(context.input, "id_machine");
    context.store.addMachine(machineInput(context));
    return success();
}

JsonText editMachine(const CommandContext& context) {
    const RecordId id = context.input.recordId("id_machine");
    if (!context.store.updateMachine(id, machineInput(context)))
        throw Refusal("Оборудование не найдено.");
    return success();
}

// --- workshops ---

WorkshopInput workshopInput(const CommandContext& context) {
    const CommandInput& input = context.input;
    WorkshopInput workshop;
    workshop.title = input.boundedText("name_workshop", "Название", titleLimit, true);
    workshop.description = input.boundedText("description_workshop", "Описание", descriptionLimit);
    workshop.constructed = input.date("date_workshop");
    return workshop;
}

json workshopAnswer(const CommandContext& context) {
    return success("data", context.answers.workshops());
}

JsonText allWorkshop(const CommandContext& context) {
    return workshopAnswer(context);
}

JsonText searchWorkshop(const CommandContext& context) {
    return success("data", context.answers.workshops({}, searchText(context.input)));
}

JsonText sortWorkshop(const CommandContext& context) {
    return success("data", context.answers.workshops(workshopOrder(context.input)));
}

JsonText deleteWorkshop(const CommandContext& context) {
    requireRemoved(context.store.removeWorkshop(context.input.recordId("id")), "Цех не найден.",
                   "Цех нельзя удалить: в нём стоит оборудование.");
    return workshopAnswer(context);
}

JsonText saveWorkshop(const CommandContext& context) {
    requireNewRecordId(context.input, "id_workshop");
    context.store.addWorkshop(workshopInput(context));
    return success();
}

JsonText editWorkshop(const CommandContext& context) {
    const RecordId id = context.input.recordId("id_workshop");
    if (!context.store.updateWorkshop(id, workshopInput(context)))
        throw Refusal("Цех не найден.");
    return success();
}

// --- repairmen ---

RepairmanInput repairmanInput(const CommandContext& context) {
    const CommandInput& input = context.input;
    RepairmanInput repairman;
    repairman.surname = input.boundedText("surname_repairman", "Фамилия", titleLimit, true);
    repairman.name = input.boundedText("name_repairman", "Имя", titleLimit);
    repairman.patronymic = input.boundedText("patronymic_repairman", "Отчество", titleLimit);
    repairman.profession = input.boundedText("profession_repairman", "Профессия", titleLimit);
    return repairman;
}

json repairmanAnswer(const CommandContext& context) {
    return success("data", context.answers.repairmen());
}

JsonText allRepairman(const CommandContext& context) {
    return repairmanAnswer(context);
}

JsonText searchRepairman(const CommandContext& context) {
    return success("data", context.answers.repairmen({}, searchText(context.input)));
}

JsonText sortRepairman(const CommandContext& context) {
    return success("data", context.answers.repairmen(repairmanOrder(context.input)));
}

JsonText deleteRepairman(const CommandContext& context) {
    requireRemoved(context.store.removeRepairman(context.input.recordId("id")), "Ремонтник не найден.",
                   "Ремонтника нельзя удалить: он указан в записях журнала ремонтов.");
    return repairmanAnswer(context);
}

JsonText saveRepairman(const CommandContext& context) {
    requireNewRecordId(context.input, "id_repairman");
    context.store.addRepairman(repairmanInput(context));
    return success();
}

JsonText editRepairman(const CommandContext& context) {
    const RecordId id = context.input.recordId("id_repairman");
    if (!context.store.updateRepairman(id, repairmanInput(context)))
        throw Refusal("Ремонтник не найден.");
    return success();
}

constexpr bool reads = false;
constexpr bool writes = true;

constexpr std::array<CommandDefinition, 26> commands = {{
    {"all_service", reads, allService},        {"sort_service", reads, sortService},
    {"delete_service", writes, deleteService}, {"load_list_data", reads, loadListData},
    {"uid_service", reads, uidService},        {"view_service", reads, viewService},
    {"save_service", writes, saveService},     {"edit_service", writes, editService},
    {"all_machine", reads, allMachine},        {"search_machine", reads, searchMachine},
    {"sort_machine", reads, sortMachine},      {"delete_machine", writes, deleteMachine},
    {"save_machine", writes, saveMachine},     {"edit_machine", writes, editMachine},
    {"all_workshop", reads, allWorkshop},      {"search_workshop", reads, searchWorkshop},
    {"sort_workshop", reads, sortWorkshop},    {"delete_workshop", writes, deleteWorkshop},
    {"save_workshop", writes, saveWorkshop},   {"edit_workshop", writes, editWorkshop},
    {"all_repairman", reads, allRepairman},    {"search_repairman", reads, searchRepairman},
    {"sort_repairman", reads, sortRepairman},  {"delete_repairman", writes, deleteRepairman},
    {"save_repairman", writes, saveRepairman}, {"edit_repairman", writes, editRepairman},
}};

} // namespace

const CommandDefinition* findCommand(std::string_view name) {
    const auto found =
        std::find_if(commands.begin(), commands.end(), [name](const CommandDefinition& c) { return c.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

} // namespace journal::protocol
