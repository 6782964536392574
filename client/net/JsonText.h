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

// Member by dotted path ("list.machine"), case-sensitive; nullptr when any step is missing
// or is not an object.
const Json* findPath(const Json& root, std::string_view dottedPath);

} // namespace journal
