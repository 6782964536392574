// Any UTF-8 text sent as a command's value reaches the server as the same text: the form body is
// decoded and its JSON parsed here independently of the client's own writer and encoder.
#include "ChannelSettings.h"
#include "WireFormat.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case digits are not what the client writes
}

// application/x-www-form-urlencoded as a server reads it, strict about what the client may write.
std::optional<std::string> formDecoded(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '+') {
            text += ' ';
        } else if (c == '%') {
            if (i + 2 >= value.size() || hexValue(value[i + 1]) < 0 || hexValue(value[i + 2]) < 0)
                return std::nullopt;
            text += static_cast<char>(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2]));
            i += 2;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '*' || c == '-' || c == '.' || c == '_') {
            text += c;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

bool isUtf8(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const nlohmann::ordered_json command{{"command", "save_service"}, {"description_service", text}};
    const std::string body = journal::formBody(journal::wireJson(command), journal::kAccessKey);
    if (!isUtf8(text))
        return 0; // only written without a crash: the windows never hold such text

    const std::string keyField = std::string("&key=") + journal::kAccessKey;
    if (!body.starts_with("data=") || !body.ends_with(keyField))
        std::abort();
    const std::string_view encoded = std::string_view(body).substr(5, body.size() - 5 - keyField.size());
    const std::optional<std::string> json = formDecoded(encoded);
    if (!json)
        std::abort();
    const nlohmann::json parsed = nlohmann::json::parse(*json); // throws, and so fails, on anything not JSON
    if (parsed.size() != 2 || parsed.at("command") != "save_service" || parsed.at("description_service") != text)
        std::abort();
    // Non-ASCII characters travel as their own bytes, never as \u escapes.
    const auto highBytes = [](std::string_view bytes) {
        return std::count_if(bytes.begin(), bytes.end(), [](unsigned char c) { return c >= 0x80; });
    };
    if (highBytes(*json) != highBytes(text))
        std::abort();
    return 0;
}
