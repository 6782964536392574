#pragma once

#include "storage/Records.h"
#include "storage/SqlConnection.h"
#include "text/DateTimeFormat.h"

#include <optional>
#include <string>
#include <vector>

namespace journal::maintenance {

// The repairs that started on the days from `from` to `to`, both included; of one machine when it is given.
struct ExportPeriod {
    Date from;
    Date to;
    std::optional<storage::RecordId> machine;
};

struct ExportedRepair {
    storage::RecordId id = 0;
    storage::RecordId machineId = 0;
    std::string machine;
    std::string inventory;
    std::string workshop;
    std::string description;
    std::string repairmen; // full names in the order they were chosen, separated by ", "
    DateTime start;
    std::optional<DateTime> finish;
};

struct ExportedJournal {
    std::vector<ExportedRepair> repairs; // by start, then id
    // The machines of the repairs, in the journal's order of titles.
    std::vector<storage::RecordId> machines;
};

// Reads the period in one snapshot. Throws std::runtime_error when the period names a machine that does not exist.
ExportedJournal readJournal(storage::SqlConnection& sql, const ExportPeriod& period);

} // namespace journal::maintenance
