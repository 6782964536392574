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
    // `kept`, of another state, brought to `state` by writing again the records changed since, and kept; nullptr
    // when the journal is better written afresh.
    std::shared_ptr<const JournalCache::Records> updatedJournal(std::shared_ptr<const JournalCache::Records> kept,
                                                                const std::string& state) const;
    // The order of `column` at `state`: `kept` brought up to date by the records changed since, or made afresh.
    JournalCache::Keys updatedKeys(storage::ServiceColumn column, const JournalCache::KeptKeys& kept,
                                   const std::string& state) const;

    storage::JournalStore& store_;
    const ServerFormats& formats_;
    JournalCache* journalCache_;
};

} // namespace journal::protocol
