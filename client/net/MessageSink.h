#pragma once

#include <QString>

namespace journal {

// Where the channel shows what the user must read: a refusal of the server, and the fixed message
// of a failed exchange. The program's start wires the error message box; tests and fuzz targets
// wire their own. Without a sink the messages go to stderr.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Returns when the user has read the message. With isCloseProg the caller ends the process
    // afterwards, should the sink return.
    virtual void View(const QString& message, bool isCloseProg) = 0;
};

void setMessageSink(MessageSink* sink); // nullptr: back to stderr
MessageSink& messageSink();

inline const QString kServerUnavailableMessage = QStringLiteral("Сервер не доступен, программа будет закрыта!");

} // namespace journal
