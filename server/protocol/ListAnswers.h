#pragma once

#include "protocol/JournalCache.h"
#include "protocol/JsonWriter.h"
#include "storage/JournalStore.h"
#include "text/DateTimeFormat.h"

#include <nlohmann/json.hpp>

namespace journal::protocol {

// The payloads of the answers, in the member names and forms the client reads.
class ListAnswers {
public:
    // A read-only transaction may take the journal from `journalCache` and keep it there: a writer's own changes
    // are not yet what the state it reads stands for.
    ListAnswers(storage::JournalStore& store, const ServerFormats& formats, JournalCache* journalCache = nullptr)
        : store_(store)
        , formats_(formats)
        , journalCache_(journalCache) {}

    // The long lists go straight from the database's rows into the answer; the journal, while the database is
    // unchanged, from the one kept.
    void journal(JsonWriter& out, storage::SortOrder<storage::ServiceColumn> order) const;
    // `data` of the machines directory: the machines and the workshops the machine editor offers.
    void machineDirectory(JsonWriter& out, storage::SortOrder<storage::MachineColumn> order,
                          const std::optional<std::string>& search) const;
    nlohmann::json workshops(storage::SortOrder<storage::WorkshopColumn> order = {},
                             const std::optional<std::string>& search = {}) const;
    nlohmann::json repairmen(storage::SortOrder<storage::RepairmanColumn> order = {},
                             const std::optional<std::string>& search = {}) const;
    // `list` for the journal record editor.
    nlohmann::json pickLists() const;
    // `uid` (with the record number) or `view` of one journal record; nullopt when there is none.
    std::optional<nlohmann::json> serviceDetails(storage::RecordId id, bool withUid) const;

private:
    std::string stamp(const DateTime& utc) const;
    // The journal read and written afresh, and kept when `state` tells what it is.
    void writeJournal(JsonWriter& out, storage::SortOrder<storage::ServiceColumn> order,
                      const std::optional<std::string>& state) const;
    // The positions in `order` of the `count` records kept, from their rows read again.
    JournalCache::Order sortedPositions(storage::SortOrder<storage::ServiceColumn> order, std::size_t count) const;

    storage::JournalStore& store_;
    const ServerFormats& formats_;
    JournalCache* journalCache_;
};

} // namespace journal::protocol
