#pragma once

#include "protocol/Protocol.h"

#include <filesystem>
#include <memory>
#include <string>

namespace httplib {
class SSLServer;
}

namespace journal::http {

// HTTPS front of the protocol: POST /api/index with a form of `data` and `key`. Every answer, errors of HTTP
// itself included, is one JSON object. Protocol answers (successes and refusals) have status 200; a body that is
// not a form gets 400 or 415, a body over the limit 413, another path 404, an internal fault 500.
class JournalHttpServer {
public:
    static constexpr std::size_t maxBodyBytes = 1024 * 1024;

    // Throws std::runtime_error when the certificate or key cannot be loaded.
    JournalHttpServer(const protocol::Protocol& protocol, const std::filesystem::path& certificate,
                      const std::filesystem::path& key);
    ~JournalHttpServer();
    JournalHttpServer(const JournalHttpServer&) = delete;
    JournalHttpServer& operator=(const JournalHttpServer&) = delete;

    // Port 0 takes a free port. Returns the bound port; throws std::runtime_error when it cannot bind.
    int bind(const std::string& host, int port);
    // Serves until stop() is called from another thread or a signal handler's helper.
    void serve();
    bool isServing() const;
    void stop();

private:
    void routeRequests();

    const protocol::Protocol& protocol_;
    std::unique_ptr<httplib::SSLServer> server_;
};

} // namespace journal::http
