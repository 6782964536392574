#include "protocol/JournalOrder.h"

#include "text/RussianOrder.h"

#include <algorithm>

namespace journal::protocol {
namespace {

// A number that sorts as the times do, as their ISO texts sort in the database.
std::uint64_t timeKey(const DateTime& value) {
    auto key = static_cast<std::uint64_t>(value.date.year);
    for (const int part : {value.date.month, value.date.day, value.time.hour, value.time.minute, value.time.second})
        key = key * 100 + static_cast<std::uint64_t>(part);
    return key;
}

} // namespace

using storage::ServiceColumn;

JournalOrder::JournalOrder(storage::SortOrder<ServiceColumn> order)
    : order_(order) {}

std::string_view JournalOrder::titleKey(std::string_view title) {
    auto found = titleKeys_.find(std::string(title));
    if (found == titleKeys_.end())
        found = titleKeys_.emplace(title, RussianOrder::text().sortKey(title)).first;
    return found->second;
}

void JournalOrder::add(const storage::ServiceRow& service) {
    Entry entry;
    entry.position = static_cast<std::uint32_t>(entries_.size());
    switch (order_.column) {
    case ServiceColumn::MachineTitle:
        entry.text = titleKey(service.machineTitle);
        break;
    case ServiceColumn::WorkshopTitle:
        entry.text = titleKey(service.workshopTitle);
        break;
    case ServiceColumn::Description:
        entry.text = textKeys_.emplace_back(RussianOrder::text().sortKey(service.description));
        break;
    case ServiceColumn::Start:
        entry.time = timeKey(service.start);
        break;
    case ServiceColumn::Finish:
        entry.hasKey = service.finish.has_value();
        if (service.finish)
            entry.time = timeKey(*service.finish);
        break;
    case ServiceColumn::Id:
        break;
    }
    entries_.push_back(entry);
}

std::vector<std::uint32_t> JournalOrder::sorted() {
    // Stable: equal keys keep the order of the record numbers, in both directions.
    const bool descending = order_.descending;
    std::stable_sort(entries_.begin(), entries_.end(), [descending](const Entry& left, const Entry& right) {
        if (left.hasKey != right.hasKey)
            return descending ? !left.hasKey : left.hasKey; // missing ones last going up, first going down
        const auto before = [](const Entry& first, const Entry& second) {
            return first.time != second.time ? first.time < second.time : first.text < second.text;
        };
        return descending ? before(right, left) : before(left, right);
    });
    std::vector<std::uint32_t> positions;
    positions.reserve(entries_.size());
    for (const Entry& entry : entries_)
        positions.push_back(entry.position);
    return positions;
}

} // namespace journal::protocol
