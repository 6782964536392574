#pragma once

#include "protocol/JsonWriter.h"
#include "storage/JournalStore.h"
#include "text/DateTimeFormat.h"

#include <nlohmann/json.hpp>

namespace journal::protocol {

// The payloads of the answers, in the member names and forms the client reads.
class ListAnswers {
public:
    ListAnswers(storage::JournalStore& store, const ServerFormats& formats)
        : store_(store)
        , formats_(formats) {}

    // The long lists go straight from the database's rows into the answer.
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

    storage::JournalStore& store_;
    const ServerFormats& formats_;
};

} // namespace journal::protocol
