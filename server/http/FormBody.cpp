#include "http/FormBody.h"

#include <algorithm>
#include <cctype>

namespace journal::http {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

} // namespace

std::optional<std::map<std::string, std::string>> decodeForm(std::string_view body) {
    std::map<std::string, std::string> fields;
    while (!body.empty()) {
        const std::size_t end = std::min(body.find('&'), body.size());
        const std::string_view field = body.substr(0, end);
        body.remove_prefix(std::min(end + 1, body.size()));
        if (field.empty())
            continue;
        const std::size_t equals = field.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        auto name = percentDecoded(field.substr(0, equals));
        auto value = percentDecoded(field.substr(equals + 1));
        if (!name || !value)
            return std::nullopt;
        fields.emplace(std::move(*name), std::move(*value));
    }
    return fields;
}

bool isFormContentType(std::string_view contentType) {
    constexpr std::string_view form = "application/x-www-form-urlencoded";
    const std::string_view mediaType = contentType.substr(0, contentType.find(';'));
    std::string lower;
    for (const char c : mediaType)
        if (c != ' ' && c != '\t')
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == form;
}

} // namespace journal::http
