#include "WireFormat.h"

#include <cstdint>
#include <utility>

namespace journal {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

void appendUnicodeEscape(std::string& out, unsigned unit) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHexDigits[(unit >> shift) & 0xF];
    }
}

// Returns the short escape of a character that always needs one, or nullptr.
const char* namedEscape(char c) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '/':
        return "\\/";
    case '\b':
        return "\\b";
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\f':
        return "\\f";
    case '\r':
        return "\\r";
    default:
        return nullptr;
    }
}

// Decodes one UTF-8 sequence at text[i], advancing i; malformed input gives U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    const int length = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
    if (length == 0) {
        return 0xFFFD;
    }
    char32_t codePoint = lead & (0x3F >> length);
    for (int k = 0; k < length; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return codePoint > 0x10FFFF ? 0xFFFD : codePoint;
}

void appendWireString(std::string& out, const std::string& text) {
    for (const char c : text) {
        if (const char* escape = namedEscape(c)) {
            out += escape;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            // Written raw, the other controls would make JSON that a server must reject.
            appendUnicodeEscape(out, static_cast<unsigned char>(c));
        } else {
            out += c;
        }
    }
}

void appendAsciiString(std::string& out, const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (const char* escape = namedEscape(c)) {
            out += escape;
            ++i;
            continue;
        }
        const char32_t codePoint = nextCodePoint(text, i);
        if (codePoint >= 0x20 && codePoint <= 0x7F) {
            out += static_cast<char>(codePoint);
        } else if (codePoint > 0xFFFF) {
            const char32_t offset = codePoint - 0x10000;
            appendUnicodeEscape(out, 0xD800 + (offset >> 10));
            appendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
        } else {
            appendUnicodeEscape(out, codePoint);
        }
    }
}

using StringWriter = void (*)(std::string&, const std::string&);

void appendJson(std::string& out, const nlohmann::ordered_json& value, StringWriter writeString) {
    switch (value.type()) {
    case nlohmann::ordered_json::value_t::string:
        out += '"';
        writeString(out, value.get_ref<const std::string&>());
        out += '"';
        return;
    case nlohmann::ordered_json::value_t::object: {
        out += '{';
        bool first = true;
        for (const auto& [name, member] : value.items()) {
            if (!std::exchange(first, false)) {
                out += ',';
            }
            out += '"';
            writeString(out, name);
            out += "\":";
            appendJson(out, member, writeString);
        }
        out += '}';
        return;
    }
    case nlohmann::ordered_json::value_t::array: {
        out += '[';
        bool first = true;
        for (const auto& element : value) {
            if (!std::exchange(first, false)) {
                out += ',';
            }
            appendJson(out, element, writeString);
        }
        out += ']';
        return;
    }
    default: // numbers, true, false, null
        out += value.dump();
        return;
    }
}

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' || c == '-' ||
           c == '.' || c == '_';
}

} // namespace

std::string wireJson(const nlohmann::ordered_json& value) {
    std::string out;
    appendJson(out, value, appendWireString);
    return out;
}

std::string asciiJson(const nlohmann::ordered_json& value) {
    std::string out;
    appendJson(out, value, appendAsciiString);
    return out;
}

std::string formEncode(std::string_view value) {
    std::string out;
    out.reserve(value.size() * 3);
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            out += c;
        } else if (byte == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0x0F];
        }
    }
    return out;
}

std::string formBody(std::string_view commandJson, std::string_view key) {
    return "data=" + formEncode(commandJson) + "&key=" + formEncode(key);
}

} // namespace journal
