#pragma once

#include "storage/Records.h"
#include "storage/SqlConnection.h"

#include <optional>
#include <string>
#include <vector>

namespace journal::storage {

// The journal's records on one SQL session; the caller owns the transaction.
// A search text matches any text column of the kind as a case-insensitive substring.
class JournalStore {
public:
    explicit JournalStore(SqlConnection& sql)
        : sql_(sql) {}

    std::vector<Service> services(SortOrder<ServiceColumn> order);
    std::optional<Service> service(RecordId id);
    RecordId addService(const ServiceInput& input);
    bool updateService(RecordId id, const ServiceInput& input);
    bool removeService(RecordId id);

    std::vector<Machine> machines(SortOrder<MachineColumn> order, const std::optional<std::string>& search = {});
    bool hasMachine(RecordId id);
    RecordId addMachine(const MachineInput& input);
    bool updateMachine(RecordId id, const MachineInput& input);
    RemoveResult removeMachine(RecordId id);

    std::vector<Workshop> workshops(SortOrder<WorkshopColumn> order, const std::optional<std::string>& search = {});
    bool hasWorkshop(RecordId id);
    RecordId addWorkshop(const WorkshopInput& input);
    bool updateWorkshop(RecordId id, const WorkshopInput& input);
    RemoveResult removeWorkshop(RecordId id);

    std::vector<Repairman> repairmen(SortOrder<RepairmanColumn> order, const std::optional<std::string>& search = {});
    bool hasRepairman(RecordId id);
    RecordId addRepairman(const RepairmanInput& input);
    bool updateRepairman(RecordId id, const RepairmanInput& input);
    RemoveResult removeRepairman(RecordId id);

private:
    bool exists(std::string_view sql, RecordId id);
    RemoveResult remove(std::string_view table, std::string_view usedBy, RecordId id);
    void storeServiceRepairmen(RecordId serviceId, const std::vector<RecordId>& repairmanIds);

    SqlConnection& sql_;
};

} // namespace journal::storage
