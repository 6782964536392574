#include "protocol/JournalCache.h"

namespace journal::protocol {

std::size_t JournalCache::Records::textBytes() const {
    std::size_t bytes = 0;
    for (const auto& text : texts)
        bytes += text->size();
    return bytes;
}

std::shared_ptr<JournalCache::Records> JournalCache::Records::updated(std::string state,
                                                                      std::span<const storage::RecordId> changed,
                                                                      std::shared_ptr<JsonText> text,
                                                                      std::vector<Record> rewritten) const {
    auto next = std::make_shared<Records>();
    next->state = std::move(state);
    next->texts = texts;
    next->texts.push_back(std::move(text));
    next->staleBytes = staleBytes;
    const auto textIndex = static_cast<std::uint32_t>(texts.size());
    for (Record& record : rewritten)
        record.text = textIndex;
    next->records.reserve(records.size() + rewritten.size());
    auto changedId = changed.begin();
    auto fresh = rewritten.begin();
    for (const Record& record : records) {
        while (fresh != rewritten.end() && fresh->id < record.id)
            next->records.push_back(*fresh++);
        while (changedId != changed.end() && *changedId < record.id)
            ++changedId;
        if (changedId != changed.end() && *changedId == record.id)
            next->staleBytes += record.length;
        else
            next->records.push_back(record);
    }
    next->records.insert(next->records.end(), fresh, rewritten.end());
    return next;
}

JournalCache::Found JournalCache::find(std::string_view state, SortOrder order) {
    const std::lock_guard lock(mutex_);
    Found found{records_, nullptr, {}};
    if (const auto keys = keys_.find(static_cast<int>(order.column)); keys != keys_.end())
        found.keys = keys->second;
    if (records_ && records_->state == state) {
        if (const auto kept = orders_.find(orderKey(order)); kept != orders_.end())
            found.order = kept->second;
    }
    return found;
}

void JournalCache::keep(std::shared_ptr<const Records> records) {
    if (records->textBytes() > keptBytes)
        return;
    const std::lock_guard lock(mutex_);
    if (records_ && records_->state == records->state)
        return;
    records_ = std::move(records);
    orders_.clear();
}

void JournalCache::keepOrder(std::string_view state, SortOrder sortOrder, Order order, KeptKeys keys) {
    auto kept = std::make_shared<const Order>(std::move(order));
    const std::lock_guard lock(mutex_);
    if (keys.keys)
        keys_[static_cast<int>(sortOrder.column)] = std::move(keys);
    if (records_ && records_->state == state)
        orders_[orderKey(sortOrder)] = std::move(kept);
}

void JournalCache::release(std::shared_ptr<const Records>& records) {
    const std::lock_guard lock(mutex_);
    const bool kept = records && records == records_;
    records.reset();
    if (!kept)
        return;
    if (records_.use_count() == 1) { // only copies handed out under the lock share it
        spare_.clear();
        for (const auto& text : records_->texts) {
            if (text.use_count() == 1) {
                auto pieces = std::move(*text).takePieces();
                spare_.insert(spare_.end(), std::make_move_iterator(pieces.begin()),
                              std::make_move_iterator(pieces.end()));
            }
        }
    }
    records_.reset();
    orders_.clear();
}

std::shared_ptr<JournalCache::Records> JournalCache::newRecords() {
    auto records = std::make_shared<Records>();
    const std::lock_guard lock(mutex_);
    records->texts.front()->reuse(std::move(spare_));
    spare_.clear();
    return records;
}

} // namespace journal::protocol
