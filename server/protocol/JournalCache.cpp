#include "protocol/JournalCache.h"

namespace journal::protocol {

JournalCache::Found JournalCache::find(std::string_view state, SortOrder order) {
    const std::lock_guard lock(mutex_);
    if (records_ && records_->state != state) {
        if (records_.use_count() == 1) // only copies handed out under the lock share it
            spare_ = std::move(records_->text).takePieces();
        records_.reset();
        orders_.clear();
    }
    const auto found = orders_.find(orderKey(order));
    return {records_, found == orders_.end() ? nullptr : found->second};
}

void JournalCache::keep(std::shared_ptr<Records> records, SortOrder sortOrder, Order order) {
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

void JournalCache::keepOrder(std::string_view state, SortOrder sortOrder, Order order) {
    auto kept = std::make_shared<const Order>(std::move(order));
    const std::lock_guard lock(mutex_);
    if (records_ && records_->state == state)
        orders_[orderKey(sortOrder)] = std::move(kept);
}

std::shared_ptr<JournalCache::Records> JournalCache::newRecords() {
    auto records = std::make_shared<Records>();
    const std::lock_guard lock(mutex_);
    records->text.reuse(std::move(spare_));
    spare_.clear();
    return records;
}

} // namespace journal::protocol
