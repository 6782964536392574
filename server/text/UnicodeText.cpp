#include "text/UnicodeText.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace journal {
namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string foldCase(std::string_view utf8) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), utf8.size()));
    text.toLower(icu::Locale::getRoot());
    std::string folded;
    text.toUTF8String(folded);
    return folded;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8)
        count += isContinuationByte(c) ? 0 : 1;
    return count;
}

std::string leftCharacters(std::string_view utf8, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!isContinuationByte(utf8[i]) && seen++ == count)
            return std::string(utf8.substr(0, i));
    }
    return std::string(utf8);
}

std::string trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

} // namespace journal
