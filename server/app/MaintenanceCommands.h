#pragma once

#include "app/ServerOptions.h"

namespace journal::app {

// Runs backup, restore or export; reports on stderr (an export to standard output keeps stdout to itself).
// Returns the exit status; throws std::invalid_argument for options that cannot be used.
int runMaintenanceCommand(const ServerOptions& options);

} // namespace journal::app
