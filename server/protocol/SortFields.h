#pragma once

#include "protocol/CommandInput.h"
#include "storage/Records.h"

namespace journal::protocol {

// The sort commands name columns by the client's own expressions; only these map to a column,
// anything else is refused before it comes near SQL.
storage::SortOrder<storage::ServiceColumn> serviceOrder(const CommandInput& input);
storage::SortOrder<storage::MachineColumn> machineOrder(const CommandInput& input);
storage::SortOrder<storage::WorkshopColumn> workshopOrder(const CommandInput& input);
storage::SortOrder<storage::RepairmanColumn> repairmanOrder(const CommandInput& input);

} // namespace journal::protocol
