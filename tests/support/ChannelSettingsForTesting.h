#pragma once

#include "ChannelSettings.h"

// Tests link this library instead of journal_build_settings: channelSettings() then returns
// whatever the test set last (at first: the build's defaults with nothing reachable), and
// newCurlHandle() makes real handles until a test tells it to fail.
namespace journal::testing {

void setChannelSettings(ChannelSettings settings);
void setCurlHandlesFail(bool fail);

} // namespace journal::testing
