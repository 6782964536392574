#pragma once

#include "storage/JournalStore.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace journal::protocol {

// Puts the written records of the journal in a sort order: they are visited and written in the order of their
// numbers and placed here in the order of the column (Russian order for text, missing finish times last going up and
// first going down), equal keys in the order of the numbers.
class JournalOrder {
public:
    using Span = std::pair<std::size_t, std::size_t>; // [begin, end) of a record's text

    explicit JournalOrder(storage::SortOrder<storage::ServiceColumn> order);

    // The record visited next (with a higher number than the ones before) and where its text lies.
    void add(const storage::ServiceRow& service, Span text);
    // The records' texts in the order.
    std::vector<Span> sorted();

private:
    struct Entry {
        std::uint64_t time = 0; // for times
        std::string_view text;  // for text, its sort key
        bool hasKey = true;
        Span span;
    };

    std::string_view titleKey(std::string_view title);

    storage::SortOrder<storage::ServiceColumn> order_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::string> titleKeys_; // titles repeat: one key each
    std::deque<std::string> textKeys_;                       // stays in place as it grows
};

} // namespace journal::protocol
