#pragma once

#include "protocol/Protocol.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace journal::http {

// Runs one command on a thread of its own and carries the pieces of its answer to the thread that sends them, a
// few at a time: a long list goes out while it is still being read, and never lies whole in memory.
class StreamedAnswer {
public:
    // Pieces written but not yet sent; the writer waits for room beyond them.
    static constexpr std::size_t queuedPieces = 4;
    using Command = std::function<protocol::Answer(const protocol::JsonText::PieceSink& sink)>;

    explicit StreamedAnswer(Command command);
    // Stops the writer at its next piece if the answer was not taken whole, and waits for it.
    ~StreamedAnswer();
    StreamedAnswer(const StreamedAnswer&) = delete;
    StreamedAnswer& operator=(const StreamedAnswer&) = delete;

    // Waits until the command ends or hands over its first piece: true when the answer goes out piece by piece.
    bool streams();
    // The next piece to send, waiting for it to be written; nullopt after the last one.
    std::optional<std::string> next();
    // A sent piece, whose room the writer uses again.
    void recycle(std::string piece);
    // The command's answer once it ended.
    protocol::Answer& finished();
    // Whether the pieces handed out through next() make up a whole answer, a list or a list broken off by an error
    // object; otherwise the command failed where nothing could end what was sent.
    bool endsWhole();

private:
    std::string handOver(std::string full);
    void end(protocol::Answer answer);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queued_;
    std::vector<std::string> spare_;
    bool handedOver_ = false;
    bool endsWhole_ = false;
    bool ended_ = false;
    bool abandoned_ = false;
    protocol::Answer answer_;
    std::thread writer_;
};

} // namespace journal::http
