#include "RequestServer.h"

#include "AnswerReading.h"
#include "ChannelSettings.h"
#include "HttpPost.h"
#include "JsonText.h"
#include "MessageSink.h"
#include "WireFormat.h"

#include <cstdlib>

TRequestServer::TRequestServer() = default;

TRequestServer::~TRequestServer() = default;

// The command is written once: its wire text is what is sent and, read back, what DataServer shows until an answer.
void TRequestServer::setDataServer(const nlohmann::ordered_json& command) {
    fCommandText = journal::wireJson(command);
    fDataServer = journal::parseAnswer(fCommandText);
}

void TRequestServer::Execute() {
    // The HTTP client is made here, not by the constructor, so that a libcurl that cannot even start ends the
    // program with the fixed message like any other failed exchange.
    try {
        const std::string form = journal::formBody(fCommandText, journal::kAccessKey);
        fHttpClient = std::make_unique<journal::HttpPost>();
        fResponse = std::make_unique<journal::HttpResponse>(fHttpClient->postForm(journal::channelSettings(), form));
    } catch (...) {
        NetHTTPClient1RequestError();
    }
    NetHTTPClient1RequestCompleted(std::move(fResponse->body));
}

void TRequestServer::Close() {
    fHttpClient.reset();
    fResponse.reset();
}

void TRequestServer::NetHTTPClient1RequestCompleted(std::string body) {
    journal::ChannelAnswer answer;
    try {
        answer = journal::readAnswerBody(std::move(body));
    } catch (const std::exception&) {
        NetHTTPClient1RequestError();
    }
    if (answer.refusal) {
        journal::messageSink().View(*answer.refusal, false);
    }
    if (!answer.success) {
        return;
    }
    fDataServer = std::move(*answer.success);
    if (!fOnMyEvent) {
        return;
    }
    try {
        fOnMyEvent(this);
    } catch (...) {
        NetHTTPClient1RequestError();
    }
}

void TRequestServer::NetHTTPClient1RequestError() {
    journal::messageSink().View(journal::kServerUnavailableMessage, true);
    std::_Exit(0); // at once, also when the sink returns: no window, table or channel gets to clean up
}

void journal::runExchange(const nlohmann::ordered_json& command, TRequestServer::TNotifyEvent onSuccessServer) {
    TRequestServer channel;
    channel.setDataServer(command);
    channel.setOnMyEvent(std::move(onSuccessServer));
    channel.Execute();
    channel.Close();
}
