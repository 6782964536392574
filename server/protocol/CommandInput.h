#pragma once

#include "storage/Records.h"
#include "text/DateTimeFormat.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace journal::protocol {

// Reads the members of one command object; every failed check throws a Refusal.
class CommandInput {
public:
    CommandInput(const nlohmann::json& command, const ServerFormats& formats)
        : command_(command)
        , formats_(formats) {}

    // A member that must be present and a JSON string.
    std::string text(std::string_view member) const;
    std::optional<std::string> optionalText(std::string_view member) const;
    // A positive decimal record number.
    storage::RecordId recordId(std::string_view member) const;
    // Trimmed text of at most `maxCharacters`; `label` names the field for the user.
    std::string boundedText(std::string_view member, std::string_view label, std::size_t maxCharacters,
                            bool required = false) const;
    Date date(std::string_view member) const;
    TimeOfDay time(std::string_view member) const;

private:
    const nlohmann::json& command_;
    const ServerFormats& formats_;
};

storage::RecordId parseRecordId(std::string_view text, std::string_view member);

} // namespace journal::protocol
