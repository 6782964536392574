#include "ChannelSettings.h"

const journal::ChannelSettings& journal::channelSettings() {
    static const ChannelSettings settings{JOURNAL_SERVER_URL, JOURNAL_CA_FILE, 60000};
    return settings;
}
