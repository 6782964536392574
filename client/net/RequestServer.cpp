#include "RequestServer.h"

#include "ChannelSettings.h"
#include "HttpPost.h"
#include "JsonText.h"
#include "MessageSink.h"
#include "WireFormat.h"

#include <cstdlib>

TRequestServer::TRequestServer()
    : fHttpClient(std::make_unique<journal::HttpPost>()) {}

TRequestServer::~TRequestServer() = default;

void TRequestServer::Execute() {
    const std::string form = journal::formBody(fDataServer, journal::kAccessKey);
    try {
        fResponse = std::make_unique<journal::HttpResponse>(fHttpClient->postForm(journal::channelSettings(), form));
    } catch (const std::exception&) {
        NetHTTPClient1RequestError();
    }
    NetHTTPClient1RequestCompleted(fResponse->body);
}

void TRequestServer::Close() {
    fHttpClient.reset();
    fResponse.reset();
}

void TRequestServer::NetHTTPClient1RequestCompleted(const std::string& body) {
    journal::Json answer;
    try {
        answer = journal::parseJson(body);
    } catch (const std::exception&) {
        NetHTTPClient1RequestError();
    }
    if (!answer.is_object()) {
        NetHTTPClient1RequestError();
    }
    if (const auto error = answer.find("error"); error != answer.end()) {
        journal::messageSink().View(journal::textOf(*error), false);
    }
    if (!answer.contains("success")) {
        return;
    }
    fDataServer = std::move(answer);
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

void journal::runExchange(nlohmann::ordered_json command, TRequestServer::TNotifyEvent onSuccessServer) {
    TRequestServer channel;
    channel.setDataServer(std::move(command));
    channel.setOnMyEvent(std::move(onSuccessServer));
    channel.Execute();
    channel.Close();
}
