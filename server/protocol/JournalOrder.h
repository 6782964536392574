#pragma once

#include "storage/JournalStore.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace journal::protocol {

// The records of the journal in the order of one column (Russian order for text, missing finish times last going up
// and first going down), equal keys in the order of the numbers both ways. Made from the rows once, it is kept with
// the journal and brought up to date after a change by the changed records alone.
class JournalOrder {
public:
    explicit JournalOrder(storage::ServiceColumn column);
    // The order of `before` without the records of `changed` (ascending), which are added again as they are now.
    JournalOrder(const JournalOrder& before, std::span<const storage::RecordId> changed);

    storage::ServiceColumn column() const { return column_; }
    // Adds a record, in any order of the numbers; sort() puts the ones added in their places.
    void add(const storage::ServiceRow& service);
    void sort();
    std::size_t size() const { return entries_.size(); }
    // How many orders before this one it was brought up to date from: each holds keys of its own.
    std::size_t generations() const { return keptKeys_.size(); }
    // The record numbers in the order, going up or down.
    void visit(bool descending, const std::function<void(storage::RecordId)>& visit) const;

private:
    // 16 bytes: a journal's every order is kept.
    struct Entry {
        union {
            std::uint64_t time;      // for times; missing ones the greatest
            const std::string* text; // for text, its sort key
        };
        storage::RecordId id = 0;
    };
    // The keys of text, shared by the orders brought up to date from this one.
    struct Keys {
        std::unordered_map<std::string, std::string> titles; // titles repeat: one key each
        std::deque<std::string> texts;                       // stays in place as it grows
    };

    bool isText() const;
    bool before(const Entry& left, const Entry& right) const;
    bool sameKey(const Entry& left, const Entry& right) const;
    const std::string* titleKey(std::string_view title);

    storage::ServiceColumn column_;
    std::vector<Entry> entries_; // in the order going up
    std::vector<Entry> added_;   // since the last sort()
    std::vector<std::shared_ptr<const Keys>> keptKeys_;
    std::shared_ptr<Keys> keys_ = std::make_shared<Keys>();
};

} // namespace journal::protocol
