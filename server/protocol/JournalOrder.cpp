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

using storage::RecordId;
using storage::ServiceColumn;

JournalOrder::JournalOrder(ServiceColumn column)
    : column_(column) {}

JournalOrder::JournalOrder(const JournalOrder& before, std::span<const RecordId> changed)
    : column_(before.column_)
    , keptKeys_(before.keptKeys_) {
    keptKeys_.push_back(before.keys_);
    entries_.reserve(before.entries_.size() + changed.size()); // room for the changed ones to come back
    std::copy_if(
        before.entries_.begin(), before.entries_.end(), std::back_inserter(entries_),
        [changed](const Entry& entry) { return !std::binary_search(changed.begin(), changed.end(), entry.id); });
}

bool JournalOrder::isText() const {
    return column_ == ServiceColumn::MachineTitle || column_ == ServiceColumn::WorkshopTitle ||
           column_ == ServiceColumn::Description;
}

const std::string* JournalOrder::titleKey(std::string_view title) {
    auto found = keys_->titles.find(std::string(title));
    if (found == keys_->titles.end())
        found = keys_->titles.emplace(title, RussianOrder::text().sortKey(title)).first;
    return &found->second;
}

void JournalOrder::add(const storage::ServiceRow& service) {
    Entry entry;
    entry.time = 0;
    entry.id = service.id;
    switch (column_) {
    case ServiceColumn::MachineTitle:
        entry.text = titleKey(service.machineTitle);
        break;
    case ServiceColumn::WorkshopTitle:
        entry.text = titleKey(service.workshopTitle);
        break;
    case ServiceColumn::Description:
        entry.text = &keys_->texts.emplace_back(RussianOrder::text().sortKey(service.description));
        break;
    case ServiceColumn::Start:
        entry.time = timeKey(service.start);
        break;
    case ServiceColumn::Finish:
        entry.time = service.finish ? timeKey(*service.finish) : UINT64_MAX; // missing ones last going up
        break;
    case ServiceColumn::Id:
        break;
    }
    added_.push_back(entry);
}

bool JournalOrder::sameKey(const Entry& left, const Entry& right) const {
    return isText() ? left.text == right.text || *left.text == *right.text : left.time == right.time;
}

bool JournalOrder::before(const Entry& left, const Entry& right) const {
    if (isText()) {
        if (left.text != right.text) {
            if (const int compared = left.text->compare(*right.text); compared != 0)
                return compared < 0;
        }
    } else if (left.time != right.time) {
        return left.time < right.time;
    }
    return left.id < right.id;
}

void JournalOrder::sort() {
    const auto order = [this](const Entry& left, const Entry& right) { return before(left, right); };
    std::sort(added_.begin(), added_.end(), order);
    if (entries_.empty()) {
        entries_ = std::move(added_);
        added_ = {};
        return;
    }
    // Merged from the back into the room behind the sorted ones, each added one found by a binary search: few are
    // added to many.
    const auto keptCount = static_cast<std::ptrdiff_t>(entries_.size());
    entries_.resize(entries_.size() + added_.size());
    auto kept = entries_.begin() + keptCount;
    auto to = entries_.end();
    for (auto added = added_.end(); added != added_.begin();) {
        --added;
        const auto place = std::upper_bound(entries_.begin(), kept, *added, order);
        to = std::move_backward(place, kept, to);
        kept = place;
        *--to = *added;
    }
    added_.clear();
    added_.shrink_to_fit();
}

void JournalOrder::visit(bool descending, const std::function<void(RecordId)>& visit) const {
    if (!descending) {
        for (const Entry& entry : entries_)
            visit(entry.id);
        return;
    }
    // Groups of equal keys from the last, each in the order of the numbers.
    for (auto end = entries_.end(); end != entries_.begin();) {
        auto begin = end - 1;
        while (begin != entries_.begin() && sameKey(*(begin - 1), *begin))
            --begin;
        for (auto entry = begin; entry != end; ++entry)
            visit(entry->id);
        end = begin;
    }
}

} // namespace journal::protocol
