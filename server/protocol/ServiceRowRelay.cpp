#include "protocol/ServiceRowRelay.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace journal::protocol {
namespace {

using storage::RecordId;
using storage::ServiceRow;

// Rows with their texts and crews copied: what the reader's views point to changes with its next row.
class Batch {
public:
    static constexpr std::size_t rows = 512;

    void add(const ServiceRow& row) {
        Copied& copied = rows_.emplace_back();
        copied.row = row;
        copied.machineTitle = keep(row.machineTitle);
        copied.workshopTitle = keep(row.workshopTitle);
        copied.description = keep(row.description);
        copied.crewBegin = crews_.size();
        crews_.insert(crews_.end(), row.repairmanIds.begin(), row.repairmanIds.end());
    }

    bool full() const { return rows_.size() == rows; }
    bool empty() const { return rows_.empty(); }

    void visit(const ServiceRowVisitor& write) {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            Copied& copied = rows_[i];
            const std::size_t crewEnd = i + 1 < rows_.size() ? rows_[i + 1].crewBegin : crews_.size();
            copied.row.machineTitle = view(copied.machineTitle);
            copied.row.workshopTitle = view(copied.workshopTitle);
            copied.row.description = view(copied.description);
            copied.row.repairmanIds = std::span(crews_).subspan(copied.crewBegin, crewEnd - copied.crewBegin);
            write(copied.row);
        }
    }

    void clear() {
        rows_.clear();
        texts_.clear();
        crews_.clear();
    }

private:
    using Place = std::pair<std::size_t, std::size_t>; // in texts_

    struct Copied {
        ServiceRow row;
        Place machineTitle, workshopTitle, description;
        std::size_t crewBegin = 0;
    };

    Place keep(std::string_view text) {
        texts_ += text;
        return {texts_.size() - text.size(), text.size()};
    }
    std::string_view view(Place place) const { return std::string_view(texts_).substr(place.first, place.second); }

    std::vector<Copied> rows_;
    std::string texts_;
    std::vector<RecordId> crews_;
};

// Unwinds the reading once the writing stopped.
struct WritingStopped {};

class Relay {
public:
    static constexpr std::size_t batches = 4;

    explicit Relay(const ServiceRowVisitor& write)
        : free_(emptyBatches())
        , writer_([this, &write] { writeAll(write); }) {}

    ~Relay() {
        if (writer_.joinable())
            stopWriting();
    }

    void add(const ServiceRow& row) {
        if (!filling_)
            filling_ = take(free_, true);
        filling_->add(row);
        if (filling_->full())
            hand(std::move(filling_));
    }

    // Hands over the last rows and waits until they were written; the writing's failure comes out of here.
    void finish() {
        if (filling_ && !filling_->empty())
            hand(std::move(filling_));
        stopWriting();
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    using BatchPointer = std::unique_ptr<Batch>;

    // Tells the writer that no more rows come and waits until it wrote those it has.
    void stopWriting() {
        {
            const std::lock_guard lock(mutex_);
            read_ = true;
        }
        changed_.notify_all();
        writer_.join();
    }

    static std::deque<BatchPointer> emptyBatches() {
        std::deque<BatchPointer> made;
        for (std::size_t i = 0; i < batches; ++i)
            made.push_back(std::make_unique<Batch>());
        return made;
    }

    // The next batch of `from`, waiting for one; the reader gives up once the writing stopped.
    BatchPointer take(std::deque<BatchPointer>& from, bool forReading) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !from.empty() || (forReading ? failure_ != nullptr : read_); });
        if (from.empty()) {
            if (forReading)
                throw WritingStopped();
            return nullptr;
        }
        BatchPointer batch = std::move(from.front());
        from.pop_front();
        return batch;
    }

    void put(std::deque<BatchPointer>& into, BatchPointer batch) {
        {
            const std::lock_guard lock(mutex_);
            into.push_back(std::move(batch));
        }
        changed_.notify_all();
    }

    void hand(BatchPointer batch) { put(ready_, std::move(batch)); }

    void writeAll(const ServiceRowVisitor& write) {
        try {
            while (BatchPointer batch = take(ready_, false)) {
                batch->visit(write);
                batch->clear();
                put(free_, std::move(batch));
            }
        } catch (...) {
            {
                const std::lock_guard lock(mutex_);
                failure_ = std::current_exception();
            }
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<BatchPointer> free_;
    std::deque<BatchPointer> ready_;
    BatchPointer filling_;
    bool read_ = false;
    std::exception_ptr failure_;
    std::thread writer_;
};

} // namespace

void relayServiceRows(const std::function<void(const ServiceRowVisitor&)>& read, const ServiceRowVisitor& write) {
    Relay relay(write);
    std::exception_ptr readFailure;
    try {
        read([&relay](const ServiceRow& row) { relay.add(row); });
    } catch (const WritingStopped&) {
    } catch (...) {
        readFailure = std::current_exception();
    }
    relay.finish();
    if (readFailure)
        std::rethrow_exception(readFailure);
}

} // namespace journal::protocol
