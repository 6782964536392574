#include "protocol/ListAnswers.h"

#include "protocol/Labels.h"
#include "text/UnicodeText.h"

namespace journal::protocol {
namespace {

using nlohmann::json;
using namespace storage;

// The client's journal table holds at most 1000 characters of the crew.
constexpr std::size_t crewTextLimit = 1000;

std::string idText(RecordId id) {
    return std::to_string(id);
}

json pickList(const std::unordered_map<RecordId, std::string>& labels, const auto& records, const char* labelMember) {
    json list = json::array();
    for (const auto& record : records)
        list.push_back({{"Id", idText(record.id)}, {labelMember, labels.at(record.id)}});
    return list;
}

} // namespace

std::string ListAnswers::stamp(const DateTime& utc) const {
    return formats_.formatDateTime(utcToLocal(utc));
}

json ListAnswers::journal(SortOrder<ServiceColumn> order) const {
    std::unordered_map<RecordId, std::string> names;
    for (const Repairman& repairman : store_.repairmen({}))
        names.emplace(repairman.id, shortName(repairman));
    json list = json::array();
    for (Service& service : store_.services(order)) {
        std::string crew;
        for (const RecordId id : service.repairmanIds)
            crew += (crew.empty() ? "" : ", ") + names[id];
        list.push_back({
            {"Id", idText(service.id)},
            {"MachineTitle", std::move(service.machineTitle)},
            {"WorkshopTitle", std::move(service.workshopTitle)},
            {"Description", std::move(service.description)},
            {"Repairman", leftCharacters(crew, crewTextLimit)},
            {"TimeStart", formats_.formatDateTime(service.start)},
            {"TimeFinish", service.finish ? formats_.formatDateTime(*service.finish) : std::string()},
        });
    }
    return list;
}

json ListAnswers::machineDirectory(SortOrder<MachineColumn> order, const std::optional<std::string>& search) const {
    json machines = json::array();
    for (const Machine& machine : store_.machines(order, search)) {
        machines.push_back({
            {"Id", idText(machine.id)},
            {"Title", machine.title},
            {"Description", machine.description},
            {"Inventory", machine.inventory},
            {"TitleWorkshop", machine.workshopTitle},
            {"AtCreate", stamp(machine.created)},
            {"AtUpdate", stamp(machine.updated)},
        });
    }
    const auto workshops = store_.workshops({WorkshopColumn::Title});
    return {{"machine", std::move(machines)}, {"workshop", pickList(workshopLabels(workshops), workshops, "Title")}};
}

json ListAnswers::workshops(SortOrder<WorkshopColumn> order, const std::optional<std::string>& search) const {
    json list = json::array();
    for (const Workshop& workshop : store_.workshops(order, search)) {
        list.push_back({
            {"Id", idText(workshop.id)},
            {"Title", workshop.title},
            {"Description", workshop.description},
            {"AtConstruct", formats_.formatDate(workshop.constructed)},
            {"AtCreate", stamp(workshop.created)},
            {"AtUpdate", stamp(workshop.updated)},
        });
    }
    return list;
}

json ListAnswers::repairmen(SortOrder<RepairmanColumn> order, const std::optional<std::string>& search) const {
    json list = json::array();
    for (const Repairman& repairman : store_.repairmen(order, search)) {
        list.push_back({
            {"Id", idText(repairman.id)},
            {"Surname", repairman.surname},
            {"Name", repairman.name},
            {"Patronymic", repairman.patronymic},
            {"Profession", repairman.profession},
            {"AtCreate", stamp(repairman.created)},
            {"AtUpdate", stamp(repairman.updated)},
        });
    }
    return list;
}

json ListAnswers::pickLists() const {
    const auto repairmen = store_.repairmen({RepairmanColumn::Surname});
    const auto machines = store_.machines({MachineColumn::Title});
    return {{"repairman", pickList(repairmanLabels(repairmen), repairmen, "Name")},
            {"machine", pickList(machineLabels(machines), machines, "Title")}};
}

std::optional<json> ListAnswers::serviceDetails(RecordId id, bool withUid) const {
    const auto service = store_.service(id);
    if (!service)
        return std::nullopt;
    // The same labels as in the pick lists, so the editor finds its machine and repairmen again.
    const auto machineNames = machineLabels(store_.machines({}));
    const auto repairmanNames = repairmanLabels(store_.repairmen({}));
    json crew = json::array();
    for (const RecordId repairmanId : service->repairmanIds)
        crew.push_back(repairmanNames.at(repairmanId));
    json details;
    if (withUid)
        details["Uid"] = idText(service->id);
    details["Machine"] = machineNames.at(service->machineId);
    details["Description"] = service->description;
    details["Repairman"] = std::move(crew);
    details["DateStart"] = formats_.formatDate(service->start.date);
    details["TimeStart"] = formats_.formatTime(service->start.time);
    details["DateFinish"] = service->finish ? json(formats_.formatDate(service->finish->date)) : json(nullptr);
    details["TimeFinish"] = service->finish ? formats_.formatTime(service->finish->time) : std::string();
    return details;
}

} // namespace journal::protocol
