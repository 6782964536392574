#pragma once

#include "storage/JournalStore.h"

#include <functional>

namespace journal::protocol {

using ServiceRowVisitor = std::function<void(const storage::ServiceRow&)>;

// Reads the journal's rows on this thread and writes each with `write` on a thread of its own, passing copies of
// them a batch at a time: reading the database and writing the answer go on at once, on two cores. `write` sees
// the rows in the order read; what it throws, or else what the reading throws once every row read before was
// written, comes out of here.
void relayServiceRows(const std::function<void(const ServiceRowVisitor&)>& read, const ServiceRowVisitor& write);

} // namespace journal::protocol
