#pragma once

#include <string>

namespace journal {

// Where and how the channel posts. The shipped program always uses the build's constants;
// only tests replace them (ChannelSettingsForTesting.h), never the environment.
struct ChannelSettings {
    std::string url;
    std::string caFile; // empty: the system's trust store
    long timeoutMs = 60000;
};

const ChannelSettings& channelSettings();

inline constexpr const char* kAccessKey = "QmWrTsXnPdKa";

} // namespace journal
