#pragma once

#include "AnswerValue.h"

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace journal {
class HttpPost;
struct HttpResponse;
} // namespace journal

// One exchange with the journal server: posts one command object and hands a successful
// answer to the completion callback before Execute returns. A failed exchange ends the
// process (exit code 0) after the fixed message, so Execute never returns in that case.
class TRequestServer final {
public:
    using TNotifyEvent = std::function<void(TRequestServer* Sender)>;

    TRequestServer(); // Create
    ~TRequestServer();
    TRequestServer(const TRequestServer&) = delete;
    TRequestServer& operator=(const TRequestServer&) = delete;

    // Before Execute: the command object. After a run whose answer carried "success": the answer.
    const journal::AnswerValue& DataServer() const { return fDataServer; }
    void setDataServer(const nlohmann::ordered_json& command);

    const TNotifyEvent& OnMyEvent() const { return fOnMyEvent; }
    void setOnMyEvent(TNotifyEvent callback) { fOnMyEvent = std::move(callback); }

    void Execute();
    void Close(); // releases the HTTP client and the kept response; safe to call twice

private:
    void NetHTTPClient1RequestCompleted(std::string body);
    [[noreturn]] void NetHTTPClient1RequestError();

    std::string fCommandText;
    journal::AnswerValue fDataServer;
    std::unique_ptr<journal::HttpPost> fHttpClient;
    std::unique_ptr<journal::HttpResponse> fResponse;
    TNotifyEvent fOnMyEvent;
};

namespace journal {

// One exchange in the order every window runs it: a fresh channel, the command object, the
// window's completion callback, Execute, Close.
void runExchange(const nlohmann::ordered_json& command, TRequestServer::TNotifyEvent onSuccessServer);

} // namespace journal
