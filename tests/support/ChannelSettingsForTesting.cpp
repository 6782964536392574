#include "ChannelSettingsForTesting.h"

namespace journal {
namespace {

ChannelSettings& testSettings() {
    static ChannelSettings settings{"https://127.0.0.1:1/api/index", {}, 60000};
    return settings;
}

} // namespace

const ChannelSettings& channelSettings() {
    return testSettings();
}

void testing::setChannelSettings(ChannelSettings settings) {
    testSettings() = std::move(settings);
}

} // namespace journal
