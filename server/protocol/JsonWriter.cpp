#include "protocol/JsonWriter.h"

#include <algorithm>

namespace journal::protocol {
namespace {

std::string dumped(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool isContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return byte >= low && byte <= high;
}

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms, no surrogates, nothing past U+10FFFF),
// 0 for a broken one.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t offset) {
        return at + offset < text.size() ? static_cast<unsigned char>(text[at + offset]) : 0;
    };
    const unsigned char lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF)
        return isContinuation(byte(1)) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return isContinuation(byte(1), low, high) && isContinuation(byte(2)) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return isContinuation(byte(1), low, high) && isContinuation(byte(2)) && isContinuation(byte(3)) ? 4 : 0;
    }
    return 0;
}

void appendEscape(std::string& out, unsigned char byte) {
    static constexpr char hex[] = "0123456789abcdef";
    switch (byte) {
    case '"':
        out += "\\\"";
        break;
    case '\\':
        out += "\\\\";
        break;
    case '\b':
        out += "\\b";
        break;
    case '\f':
        out += "\\f";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        out += "\\u00";
        out += hex[byte >> 4];
        out += hex[byte & 15];
    }
}

} // namespace

JsonText::JsonText(const nlohmann::json& document)
    : pieces_{dumped(document)}
    , starts_{0} {}

std::string& JsonText::tailWithRoom(std::size_t reserve) {
    if (pieces_.empty() || (!pieces_.back().empty() && pieces_.back().size() + reserve > pieceBytes)) {
        // A text that fills one piece goes on to fill more: give the next ones their full size at once.
        const bool first = pieces_.empty();
        starts_.push_back(size());
        pieces_.emplace_back().reserve(first ? reserve : std::max(reserve, pieceBytes));
    }
    std::string& tail = pieces_.back();
    tail.reserve(tail.size() + reserve);
    return tail;
}

void JsonText::append(std::string_view text) {
    tailWithRoom(text.size()).append(text);
}

std::string JsonText::joined() const {
    std::string whole;
    whole.reserve(size());
    for (const std::string& piece : pieces_)
        whole += piece;
    return whole;
}

std::string JsonText::takeWhole() {
    std::string whole = pieces_.size() == 1 ? std::move(pieces_.front()) : joined();
    pieces_.clear();
    starts_.clear();
    return whole;
}

void JsonText::appendSlice(const JsonText& source, std::size_t begin, std::size_t end) {
    auto piece = std::upper_bound(source.starts_.begin(), source.starts_.end(), begin) - source.starts_.begin() - 1;
    while (begin < end) {
        const std::string& from = source.pieces_[static_cast<std::size_t>(piece)];
        const std::size_t within = begin - source.starts_[static_cast<std::size_t>(piece)];
        const std::size_t length = std::min(end - begin, from.size() - within);
        append(std::string_view(from).substr(within, length));
        begin += length;
        ++piece;
    }
}

JsonText::operator nlohmann::json() const {
    return nlohmann::json::parse(joined());
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasItems_.empty())
        return;
    if (hasItems_.back())
        text_.append(",");
    hasItems_.back() = true;
}

void JsonWriter::open(char bracket) {
    beforeValue();
    text_.append(std::string_view(&bracket, 1));
    hasItems_.push_back(false);
}

void JsonWriter::close(char bracket) {
    hasItems_.pop_back();
    text_.append(std::string_view(&bracket, 1));
}

void JsonWriter::beginObject() {
    open('{');
}

void JsonWriter::endObject() {
    close('}');
}

void JsonWriter::beginArray() {
    open('[');
}

void JsonWriter::endArray() {
    close(']');
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    escaped(name);
    text_.append(":");
    afterKey_ = true;
}

void JsonWriter::string(std::string_view utf8) {
    beforeValue();
    escaped(utf8);
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    text_.append(value ? "true" : "false");
}

void JsonWriter::document(const nlohmann::json& value) {
    beforeValue();
    text_.append(dumped(value));
}

void JsonWriter::written(const JsonText& source, std::size_t begin, std::size_t end) {
    beforeValue();
    text_.appendSlice(source, begin, end);
}

// One pass over the text for the escapes and the UTF-8 check; text with broken UTF-8 (which the protocol never
// stores, but a database edited by hand may hold) is left to nlohmann, whose replacement it must match.
void JsonWriter::escaped(std::string_view utf8) {
    std::string& out = text_.tailWithRoom(utf8.size() * 6 + 2);
    const std::size_t start = out.size();
    out += '"';
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t copied = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char byte = bytes[i];
        if (byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\') {
            ++i;
        } else if (byte >= 0xC2 && byte <= 0xDF && i + 1 < utf8.size() && (bytes[i + 1] & 0xC0) == 0x80) {
            i += 2; // Cyrillic, the common case
        } else if (byte >= 0x80) {
            const std::size_t length = sequenceLength(utf8, i);
            if (length == 0) {
                out.resize(start);
                out += dumped(std::string(utf8));
                return;
            }
            i += length;
        } else {
            out.append(utf8.data() + copied, i - copied);
            appendEscape(out, byte);
            copied = ++i;
        }
    }
    out.append(utf8.data() + copied, utf8.size() - copied);
    out += '"';
}

} // namespace journal::protocol
