#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace journal::app {

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8443;
    std::filesystem::path dataDirectory;
    std::string database; // empty: the SQLite file in the data directory
    std::optional<std::filesystem::path> certificate;
    std::optional<std::filesystem::path> certificateKey;
    std::string accessKey = "QmWrTsXnPdKa";
    std::string dateFormat = "dd.MM.yyyy";
    std::string timeFormat = "HH:mm:ss";
    bool demo = false;
    bool help = false;
};

// Throws std::invalid_argument with a message for the user, std::runtime_error when the key file cannot be used.
ServerOptions parseOptions(const std::vector<std::string>& arguments);

std::string usage();

} // namespace journal::app
