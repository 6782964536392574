#pragma once

#include "ChannelSettings.h"

#include <stdexcept>
#include <string>

namespace journal {

struct HttpResponse {
    long status = 0;
    std::string body; // decoded from its content coding and charset to UTF-8
};

struct HttpFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A fresh libcurl handle (CURL*), nullptr when libcurl cannot make one. The shipped program links the definition of
// CurlHandle.cpp; tests link their own (ChannelSettingsForTesting.h).
void* newCurlHandle();

// One synchronous form post over HTTPS; a fresh instance per exchange, so no connection,
// cookie or session outlives it.
class HttpPost final {
public:
    HttpPost();
    ~HttpPost();
    HttpPost(const HttpPost&) = delete;
    HttpPost& operator=(const HttpPost&) = delete;

    // Throws HttpFailure when no answer arrives (connection, TLS, time limit, too many redirects).
    // Any HTTP status counts as an answer.
    HttpResponse postForm(const ChannelSettings& settings, const std::string& formBody);

private:
    void* fCurl; // CURL*, kept out of the header
};

} // namespace journal
