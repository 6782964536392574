#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace journal::http {

// Decodes an application/x-www-form-urlencoded body ('+' is a space). A field named twice keeps its first value.
// nullopt when a percent sign is not followed by two hexadecimal digits or a field has no '='.
std::optional<std::map<std::string, std::string>> decodeForm(std::string_view body);

// True for "application/x-www-form-urlencoded", with or without parameters such as a charset.
bool isFormContentType(std::string_view contentType);

} // namespace journal::http
