#pragma once

#include "protocol/JournalOrder.h"
#include "protocol/JsonWriter.h"
#include "storage/Records.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace journal::protocol {

// The journal as last written, for the state of the database it was read in (storage::JournalStore::journalState),
// and the orders asked of it since: while nothing changes, a journal's answer is copied from here instead of being
// read, written and sorted again; after a change, only the records it touched are. Shared by the threads of the
// server.
class JournalCache {
public:
    struct Record {
        storage::RecordId id = 0;
        std::size_t begin = 0;
        std::uint32_t length = 0; // of one record's object
        std::uint32_t text = 0;   // of Records::texts

        // The record `id` written into [begin, end) of its text.
        static Record written(storage::RecordId id, std::size_t begin, std::size_t end) {
            return {id, begin, static_cast<std::uint32_t>(end - begin), 0};
        }
    };

    struct Records {
        std::string state;
        // The journal as written whole, then the records each change brought, written again.
        std::vector<std::shared_ptr<JsonText>> texts{std::make_shared<JsonText>()};
        std::vector<Record> records; // in the order of the record numbers
        std::size_t staleBytes = 0;  // of texts that no record uses any longer

        std::size_t textBytes() const;
        // These records at `state`: those of `changed` (ascending) replaced by `rewritten` (ascending, written into
        // `text`; the records of `changed` that still exist).
        std::shared_ptr<Records> updated(std::string state, std::span<const storage::RecordId> changed,
                                         std::shared_ptr<JsonText> text, std::vector<Record> rewritten) const;
    };
    // Positions in Records::records in the order of a list.
    using Order = std::vector<std::uint32_t>;
    using SortOrder = storage::SortOrder<storage::ServiceColumn>;

    using Keys = std::shared_ptr<const JournalOrder>;
    // An order of a column, and the state of the records it was made of.
    struct KeptKeys {
        std::string state;
        Keys keys;
    };

    struct Found {
        std::shared_ptr<const Records> records; // of whatever state was kept last
        std::shared_ptr<const Order> order; // when the records are of the state asked, and the order was asked before
        KeptKeys keys;                      // of the column asked, of whatever state was kept last
    };

    // Longer journals are not kept: the server would hold that much for as long as it runs.
    static constexpr std::size_t keptBytes = std::size_t(256) << 20;

    Found find(std::string_view state, SortOrder order);
    // Keeps `records`. Records of the state already kept are the same: those stay.
    void keep(std::shared_ptr<const Records> records);
    // Keeps an order of the records kept for `state`, if they still are, and the column order it was made of.
    void keepOrder(std::string_view state, SortOrder sortOrder, Order order, KeptKeys keys = {});
    // Lets go of `records` and, when they are the ones kept and nobody else reads them, of the journal kept: its
    // memory is written into by the next newRecords(), as fresh memory costs a page fault every 4 KiB.
    void release(std::shared_ptr<const Records>& records);
    // Records to write a journal into, in the memory of the journal let go last.
    std::shared_ptr<Records> newRecords();

private:
    static std::pair<int, bool> orderKey(SortOrder order) { return {static_cast<int>(order.column), order.descending}; }

    std::mutex mutex_;
    std::shared_ptr<const Records> records_;
    std::vector<std::string> spare_; // the pieces of the journal let go
    std::map<std::pair<int, bool>, std::shared_ptr<const Order>> orders_;
    std::map<int, KeptKeys> keys_; // by column; brought up to date when next asked for
};

} // namespace journal::protocol
