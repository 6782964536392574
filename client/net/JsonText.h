#pragma once

#include <QString>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace journal {

using Json = nlohmann::ordered_json;

// Parses exactly one JSON value (surrounding white space allowed). When a member name occurs
// twice in an object, the first member counts. Throws std::runtime_error on anything else.
Json parseJson(std::string_view text);

// The text of a value: a string itself, a number its decimal text, "true"/"false"/"null",
// an object or array the empty text.
QString textOf(const Json& value);

} // namespace journal
