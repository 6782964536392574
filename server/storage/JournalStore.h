#pragma once

#include "storage/Records.h"
#include "storage/SqlConnection.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace journal::storage {

// A journal record as the list shows it, read straight from the database: valid only while it is visited.
struct ServiceRow {
    RecordId id = 0;
    std::string_view machineTitle;
    std::string_view workshopTitle;
    std::string_view description;
    DateTime start;
    std::optional<DateTime> finish;
    std::span<const RecordId> repairmanIds; // in the order they were chosen
};

// A machine of the directory, valid only while it is visited.
struct MachineRow {
    RecordId id = 0;
    std::string_view title;
    std::string_view description;
    std::string_view inventory;
    RecordId workshopId = 0;
    std::string_view workshopTitle;
    DateTime created;
    DateTime updated;
};

// The journal's records on one SQL session; the caller owns the transaction.
// A search text matches any text column of the kind as a case-insensitive substring.
class JournalStore {
public:
    explicit JournalStore(SqlConnection& sql)
        : sql_(sql) {}

    // The whole journal row by row in the order of the record numbers, without holding it: it may have hundreds of
    // thousands of records. Other orders are sorted by whoever holds the rows: both engines sort whole rows of
    // Russian text more slowly than the keys of the rows already read.
    void visitServices(bool descending, const std::function<void(const ServiceRow&)>& visit);
    // What the triggers of the schema set anew at every change of the records, machines, workshops or repairmen,
    // as this transaction sees it: equal tokens, equal journals. Nullopt when the database keeps none.
    std::optional<std::string> journalState();
    // The records changed since the journal stood at state `since`, in the order of their numbers, as the schema's
    // log of changes tells; nullopt when the log does not reach back so far or a change touched every record.
    std::optional<std::vector<RecordId>> changedServices(std::string_view since);
    // The rows of those records of `ids` (ascending) that exist, in the order of their numbers.
    void visitServices(std::span<const RecordId> ids, const std::function<void(const ServiceRow&)>& visit);
    std::optional<Service> service(RecordId id);
    RecordId addService(const ServiceInput& input);
    bool updateService(RecordId id, const ServiceInput& input);
    bool removeService(RecordId id);

    std::vector<Machine> machines(SortOrder<MachineColumn> order, const std::optional<std::string>& search = {});
    void visitMachines(SortOrder<MachineColumn> order, const std::optional<std::string>& search,
                       const std::function<void(const MachineRow&)>& visit);
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
