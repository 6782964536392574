#pragma once

#include "storage/JournalStore.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace journal::protocol {

// Puts the records of the journal in a sort order: they are visited in the order of their numbers and placed here in
// the order of the column (Russian order for text, missing finish times last going up and first going down), equal keys
// in the order of the numbers.
class JournalOrder {
public:
    explicit JournalOrder(storage::SortOrder<storage::ServiceColumn> order);

    // The record visited next, with a higher number than the ones before.
    void add(const storage::ServiceRow& service);
    // The positions of the records, as they were visited, in the order.
    std::vector<std::uint32_t> sorted();

private:
    struct Entry {
        std::uint64_t time = 0; // for times
        std::string_view text;  // for text, its sort key
        bool hasKey = true;
        std::uint32_t position = 0;
    };

    std::string_view titleKey(std::string_view title);

    storage::SortOrder<storage::ServiceColumn> order_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::string> titleKeys_; // titles repeat: one key each
    std::deque<std::string> textKeys_;                       // stays in place as it grows
};

} // namespace journal::protocol
