#pragma once

#include "protocol/JsonWriter.h"
#include "storage/Records.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace journal::protocol {

// The journal as last written, for the state of the database it was read in (storage::JournalStore::journalState),
// and the orders asked of it since: while nothing changes, a journal's answer is copied from here instead of being
// read, written and sorted again. Shared by the threads of the server.
class JournalCache {
public:
    using Span = std::pair<std::size_t, std::size_t>; // [begin, end) of a record's text

    struct Records {
        std::string state;
        JsonText text;           // the records' objects one after another
        std::vector<Span> spans; // where each lies, in the order of the record numbers
    };
    // Positions in Records::spans in the order of a list.
    using Order = std::vector<std::uint32_t>;
    using SortOrder = storage::SortOrder<storage::ServiceColumn>;

    struct Found {
        std::shared_ptr<const Records> records;
        std::shared_ptr<const Order> order;
    };

    // Longer journals are not kept: the server would hold that much for as long as it runs.
    static constexpr std::size_t keptBytes = std::size_t(256) << 20;

    // The journal kept for `state`, and its `order` when that was asked before; neither when none is kept for it. A
    // journal of another state is let go at once: nobody reads it any longer, and the next one is about to be written.
    Found find(std::string_view state, SortOrder order);
    // Keeps `records` and `order` of them. Records of the state already kept are the same: those stay.
    void keep(std::shared_ptr<Records> records, SortOrder sortOrder, Order order);
    // Keeps another order of the records kept for `state`, if they still are.
    void keepOrder(std::string_view state, SortOrder sortOrder, Order order);
    // Records to write a journal into, in the memory of the journal let go last when nobody was reading it.
    std::shared_ptr<Records> newRecords();

private:
    static std::pair<int, bool> orderKey(SortOrder order) { return {static_cast<int>(order.column), order.descending}; }

    std::mutex mutex_;
    std::shared_ptr<Records> records_;
    std::vector<std::string> spare_; // the pieces of the journal let go
    std::map<std::pair<int, bool>, std::shared_ptr<const Order>> orders_;
};

} // namespace journal::protocol
