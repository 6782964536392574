#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace journal {

// Unicode lower case (root locale), so that searches ignore case in any script.
std::string foldCase(std::string_view utf8);

// Number of code points of valid UTF-8 text.
std::size_t characterCount(std::string_view utf8);

// The first `count` code points.
std::string leftCharacters(std::string_view utf8, std::size_t count);

// Without leading and trailing white space (ASCII blanks and line breaks).
std::string trimmed(std::string_view text);

} // namespace journal
