#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace journal::app {

// What the program is asked to do: serve the journal (no command word) or one of the commands beside serving.
enum class Command { Serve, Backup, Restore, Export };

struct ExportOptions {
    std::string from; // in the date format, as typed
    std::string to;
    std::optional<std::string> machine;
    std::string format = "csv";
    std::optional<std::filesystem::path> output;
};

struct ServerOptions {
    Command command = Command::Serve;
    std::filesystem::path file; // backup: the copy to write; restore: the backup to put in place
    ExportOptions exportOptions;
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
