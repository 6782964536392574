#pragma once

#include "text/DateTimeFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace journal::storage {

using RecordId = std::int64_t;

struct WorkshopInput {
    std::string title;
    std::string description;
    Date constructed;
};

struct Workshop : WorkshopInput {
    RecordId id = 0;
    DateTime created; // UTC
    DateTime updated; // UTC
};

struct MachineInput {
    std::string title;
    std::string description;
    std::string inventory;
    RecordId workshopId = 0;
};

struct Machine : MachineInput {
    RecordId id = 0;
    std::string workshopTitle;
    DateTime created;
    DateTime updated;
};

struct RepairmanInput {
    std::string surname;
    std::string name;
    std::string patronymic;
    std::string profession;
};

struct Repairman : RepairmanInput {
    RecordId id = 0;
    DateTime created;
    DateTime updated;
};

struct ServiceInput {
    RecordId machineId = 0;
    std::string description;
    DateTime start;
    std::optional<DateTime> finish;
    std::vector<RecordId> repairmanIds; // in the order they were chosen, without repeats
};

struct Service : ServiceInput {
    RecordId id = 0;
    std::string machineTitle;
    std::string workshopTitle;
};

enum class ServiceColumn { Id, MachineTitle, WorkshopTitle, Description, Start, Finish };
enum class MachineColumn { Id, Title, Description, Inventory, WorkshopTitle, Created, Updated };
enum class WorkshopColumn { Id, Title, Description, Constructed, Created, Updated };
enum class RepairmanColumn { Id, Surname, Name, Patronymic, Profession, Created, Updated };

template <typename Column>
struct SortOrder {
    Column column = Column::Id;
    bool descending = false;
};

enum class RemoveResult { Removed, NotFound, InUse };

} // namespace journal::storage
