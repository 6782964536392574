#include "protocol/SortFields.h"

#include "protocol/Refusal.h"

#include <span>
#include <string_view>
#include <utility>

namespace journal::protocol {
namespace {

using namespace storage;

template <typename Column>
using FieldTable = std::span<const std::pair<std::string_view, Column>>;

template <typename Column>
SortOrder<Column> readOrder(const CommandInput& input, FieldTable<Column> fields) {
    const std::string field = input.text("field");
    const std::string path = input.text("path");
    SortOrder<Column> order;
    if (path == "desc")
        order.descending = true;
    else if (path != "asc")
        throw Refusal("Направление сортировки должно быть asc или desc.");
    for (const auto& [name, column] : fields) {
        if (name == field) {
            order.column = column;
            return order;
        }
    }
    throw Refusal("Сортировка по этому полю не поддерживается.");
}

constexpr std::pair<std::string_view, ServiceColumn> serviceFields[] = {
    {"S.id", ServiceColumn::Id},
    {"M.title", ServiceColumn::MachineTitle},
    {"W.title", ServiceColumn::WorkshopTitle},
    {"S.description", ServiceColumn::Description},
    {"S.time_start", ServiceColumn::Start},
    {"S.time_finish", ServiceColumn::Finish},
};

constexpr std::pair<std::string_view, MachineColumn> machineFields[] = {
    {"m.Id", MachineColumn::Id},
    {"m.Title", MachineColumn::Title},
    {"m.Description", MachineColumn::Description},
    {"m.Inventory", MachineColumn::Inventory},
    {"w.Title", MachineColumn::WorkshopTitle},
    {"AtCreate", MachineColumn::Created},
    {"AtUpdate", MachineColumn::Updated},
};

constexpr std::pair<std::string_view, WorkshopColumn> workshopFields[] = {
    {"id", WorkshopColumn::Id},
    {"title", WorkshopColumn::Title},
    {"description", WorkshopColumn::Description},
    {"at_construct", WorkshopColumn::Constructed},
    {"at_create", WorkshopColumn::Created},
    {"at_update", WorkshopColumn::Updated},
};

constexpr std::pair<std::string_view, RepairmanColumn> repairmanFields[] = {
    {"id", RepairmanColumn::Id},
    {"surname", RepairmanColumn::Surname},
    {"name", RepairmanColumn::Name},
    {"patronymic", RepairmanColumn::Patronymic},
    {"profession", RepairmanColumn::Profession},
    {"at_create", RepairmanColumn::Created},
    {"at_update", RepairmanColumn::Updated},
};

} // namespace

SortOrder<ServiceColumn> serviceOrder(const CommandInput& input) {
    return readOrder<ServiceColumn>(input, serviceFields);
}

SortOrder<MachineColumn> machineOrder(const CommandInput& input) {
    return readOrder<MachineColumn>(input, machineFields);
}

SortOrder<WorkshopColumn> workshopOrder(const CommandInput& input) {
    return readOrder<WorkshopColumn>(input, workshopFields);
}

SortOrder<RepairmanColumn> repairmanOrder(const CommandInput& input) {
    return readOrder<RepairmanColumn>(input, repairmanFields);
}

} // namespace journal::protocol
