#pragma once

#include "storage/ConnectionPool.h"
#include "text/DateTimeFormat.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace journal::protocol {

enum class Outcome { Success, Refused, Failed };

struct Answer {
    nlohmann::json body;
    Outcome outcome = Outcome::Success;
    std::string command; // the command's name when it was one of the protocol, else empty
};

nlohmann::json refusalBody(std::string_view message);

// Carries out one command: checks the key, reads the command object and runs its handler in one transaction.
class Protocol {
public:
    Protocol(storage::ConnectionPool& database, ServerFormats formats, std::string accessKey);

    // `data` and `key` are the decoded form fields, absent when the form lacks them.
    Answer answer(const std::optional<std::string>& data, const std::optional<std::string>& key) const;

private:
    Answer run(const nlohmann::json& command, std::string_view name) const;

    storage::ConnectionPool& database_;
    ServerFormats formats_;
    std::string accessKey_;
};

} // namespace journal::protocol
