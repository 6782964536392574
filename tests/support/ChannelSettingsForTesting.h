#pragma once

#include "ChannelSettings.h"

// Tests link this library instead of journal_build_settings: channelSettings() then returns
// whatever the test set last (at first: the build's defaults with nothing reachable).
namespace journal::testing {

void setChannelSettings(ChannelSettings settings);

} // namespace journal::testing
