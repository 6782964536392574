#include "protocol/JournalCache.h"

namespace journal::protocol {

JournalCache::Found JournalCache::find(std::string_view state, SortOrder order) {
    const std::lock_guard lock(mutex_);
    if (records_ && records_->state != state) {
        records_.reset();
        orders_.clear();
    }
    const auto found = orders_.find(orderKey(order));
    return {records_, found == orders_.end() ? nullptr : found->second};
}

void JournalCache::keep(std::shared_ptr<const Records> records, SortOrder sortOrder, Order order) {
    if (records->text.size() > keptBytes)
        return;
    auto kept = std::make_shared<const Order>(std::move(order));
    const std::lock_guard lock(mutex_);
    if (!records_ || records_->state != records->state) {
        records_ = std::move(records);
        orders_.clear();
    }
    orders_[orderKey(sortOrder)] = std::move(kept);
}

} // namespace journal::protocol
