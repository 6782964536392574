#include "http/StreamedAnswer.h"

#include <stdexcept>

namespace journal::http {
namespace {

// Unwinds the writer, rolling its transaction back, once nobody reads the answer any more.
class Abandoned : public std::runtime_error {
public:
    Abandoned()
        : std::runtime_error("the client stopped reading the answer") {}
};

} // namespace

StreamedAnswer::StreamedAnswer(Command command)
    : writer_([this, command = std::move(command)] {
        try {
            end(command([this](std::string full) { return handOver(std::move(full)); }));
        } catch (const std::exception& error) {
            end({protocol::refusalBody(protocol::commandFailedMessage), protocol::Outcome::Failed, {}, error.what()});
        }
    }) {}

StreamedAnswer::~StreamedAnswer() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    changed_.notify_all();
    writer_.join();
}

std::string StreamedAnswer::handOver(std::string full) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_.size() < queuedPieces || abandoned_; });
    if (abandoned_)
        throw Abandoned();
    queued_.push_back(std::move(full));
    handedOver_ = true;
    std::string room;
    if (!spare_.empty()) {
        room = std::move(spare_.back());
        spare_.pop_back();
    }
    lock.unlock();
    changed_.notify_all();
    return room;
}

void StreamedAnswer::end(protocol::Answer answer) {
    {
        const std::lock_guard lock(mutex_);
        if (handedOver_ && answer.endsHandedPieces) {
            queued_.push_back(answer.body.takeWhole());
            endsWhole_ = true;
        }
        answer_ = std::move(answer);
        ended_ = true;
    }
    changed_.notify_all();
}

bool StreamedAnswer::streams() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return handedOver_ || ended_; });
    return handedOver_;
}

std::optional<std::string> StreamedAnswer::next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !queued_.empty() || ended_; });
    if (queued_.empty())
        return std::nullopt;
    std::string piece = std::move(queued_.front());
    queued_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return piece;
}

void StreamedAnswer::recycle(std::string piece) {
    const std::lock_guard lock(mutex_);
    if (spare_.size() < queuedPieces)
        spare_.push_back(std::move(piece));
}

bool StreamedAnswer::endsWhole() {
    finished();
    return endsWhole_;
}

protocol::Answer& StreamedAnswer::finished() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ended_; });
    return answer_;
}

} // namespace journal::http
