#include "ChannelSettingsForTesting.h"

#include "HttpPost.h"

#include <curl/curl.h>

namespace journal {
namespace {

ChannelSettings& testSettings() {
    static ChannelSettings settings{"https://127.0.0.1:1/api/index", {}, 60000};
    return settings;
}

bool curlHandlesFail = false;

} // namespace

const ChannelSettings& channelSettings() {
    return testSettings();
}

void testing::setChannelSettings(ChannelSettings settings) {
    testSettings() = std::move(settings);
}

void testing::setCurlHandlesFail(bool fail) {
    curlHandlesFail = fail;
}

void* newCurlHandle() {
    return curlHandlesFail ? nullptr : curl_easy_init();
}

} // namespace journal
