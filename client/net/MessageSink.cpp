#include "MessageSink.h"

#include <cstdio>

namespace journal {
namespace {

class StandardErrorSink final : public MessageSink {
public:
    void View(const QString& message, bool) override { std::fprintf(stderr, "%s\n", qUtf8Printable(message)); }
};

StandardErrorSink gStandardError;
MessageSink* gSink = &gStandardError;

} // namespace

void setMessageSink(MessageSink* sink) {
    gSink = sink != nullptr ? sink : &gStandardError;
}

MessageSink& messageSink() {
    return *gSink;
}

} // namespace journal
