#pragma once

#include "ChannelSettings.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class SSLServer;
}

namespace journal::testing {

// One request as it arrived.
struct RecordedRequest {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers; // sorted by name
    std::string body;                                         // raw bytes, not decoded

    std::string header(const std::string& name) const; // case-insensitive; empty when absent
    // The form's "data" field decoded: the command's JSON text as the client wrote it.
    std::string command() const;
};

// One scripted answer.
struct Reply {
    int status = 200;
    std::string contentType = "application/json; charset=utf-8";
    std::string body;
    bool gzip = false;                  // send the body gzip-compressed with Content-Encoding: gzip
    std::string redirectTo;             // a path on this server: answer 307 with Location instead
    std::chrono::milliseconds stall{0}; // wait this long before answering
};

// A real HTTPS server on 127.0.0.1 (ephemeral port, self-signed certificate made with the
// openssl tool for this process) that records every request and answers from a script.
// Requests to any path are answered with the next scripted reply, or with the default reply
// once the script is used up. Starts in the constructor, stops in the destructor.
//
//     ScriptedServer server;
//     server.useAsEndpoint();                       // the channel now posts here
//     server.script({.body = R"({"success":true,"data":[]})"});
//     ... run the action ...
//     EXPECT_EQ(server.requests().at(0).body, "data=...&key=...");
class ScriptedServer final {
public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    void script(Reply reply);          // appends one answer to the script
    void setDefaultReply(Reply reply); // answers once the script is used up ({"success":true} at first)
    std::vector<RecordedRequest> requests() const;

    std::string url(const std::string& path = "/api/index") const;
    ChannelSettings settings(std::chrono::milliseconds timeout = std::chrono::milliseconds(60000)) const;
    void useAsEndpoint(std::chrono::milliseconds timeout = std::chrono::milliseconds(60000)) const;

private:
    Reply nextReply();

    std::unique_ptr<httplib::SSLServer> fServer;
    int fPort = 0;
    std::thread fListener;
    mutable std::mutex fMutex;
    std::condition_variable fStopping; // wakes stalled answers when the server stops
    bool fStopped = false;
    std::deque<Reply> fScript;
    Reply fDefaultReply;
    std::vector<RecordedRequest> fRequests;
};

// The self-signed certificate (also the CA file for clients) and its key, made once per process.
struct TestCertificate {
    std::filesystem::path certificate;
    std::filesystem::path key;
};
const TestCertificate& testCertificate();

} // namespace journal::testing
