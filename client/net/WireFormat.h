#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace journal {

// Compact JSON as the server expects it: members in insertion order, no white space,
// '"', '\\' and '/' escaped, \b \t \n \f \r as two-character escapes, other controls as \u00XX,
// every other character (Cyrillic included) written unescaped.
std::string wireJson(const nlohmann::ordered_json& value);

// Compact JSON that escapes every character below 32 and above 127 as \uXXXX (pure ASCII).
std::string asciiJson(const nlohmann::ordered_json& value);

// application/x-www-form-urlencoded serialization of one value (space as '+').
std::string formEncode(std::string_view value);

// "data=<command's wire JSON>&key=<key>"
std::string formBody(std::string_view commandJson, std::string_view key);

} // namespace journal
