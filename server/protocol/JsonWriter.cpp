#include "protocol/JsonWriter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

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

// Whether eight bytes need no escape and hold only ASCII and well-formed two-byte characters (all of Cyrillic),
// of which one may have begun in the bytes before (`pendingLead`) or go on in the bytes after (set on return).
// Word-wise forms of "some byte is zero" and "some byte is below n" (n <= 128); byte 0 is the first.
[[gnu::always_inline]] inline bool isPlainWord(std::uint64_t word, bool& pendingLead) {
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t highs = 0x8080808080808080;
    const auto hasZero = [](std::uint64_t value) { return (value - ones) & ~value & highs; };
    const std::uint64_t control = (word - ones * 0x20) & ~word & highs;
    const std::uint64_t special = control | hasZero(word ^ (ones * '"')) | hasZero(word ^ (ones * '\\'));
    const std::uint64_t bit6 = (word << 1) & highs;
    const std::uint64_t bit5 = (word << 2) & highs;
    const std::uint64_t leads = word & bit6; // 0xC0 and up
    const std::uint64_t continuations = word & highs & ~bit6;
    // 0xC0 and 0xC1 would begin overlong forms, 0xE0 and up longer characters
    const std::uint64_t overlong = ~(((word & (ones * 0x1E)) + ones * 0x7F) & highs);
    const std::uint64_t unusualLeads = leads & (bit5 | overlong);
    const std::uint64_t expectedContinuations = (leads << 8) | (pendingLead ? 0x80 : 0);
    if ((special | unusualLeads | (continuations ^ expectedContinuations)) != 0)
        return false;
    pendingLead = (leads >> 63) != 0;
    return true;
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

// The text as a JSON string. One pass over the text for the escapes and the UTF-8 check; text with broken UTF-8 (which
// the protocol never stores, but a database edited by hand may hold) is left to nlohmann, whose replacement it must
// match. `out` has room for the longest escaped form, 6 bytes a byte and the quotes.
void appendEscaped(std::string& out, std::string_view utf8) {
    const std::size_t start = out.size();
    out += '"';
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t size = utf8.size();
    std::size_t copied = 0;
    std::size_t i = 0;
    while (true) {
        // Plain words are skipped whole; a character cut at the end of the last one is looked at again below.
        bool pendingLead = false;
        for (std::uint64_t word; i + sizeof word <= size; i += sizeof word) {
            std::memcpy(&word, bytes + i, sizeof word);
            if (!isPlainWord(word, pendingLead))
                break;
        }
        if (pendingLead) {
            --i;
        } else if (i + sizeof(std::uint64_t) > size && size >= sizeof(std::uint64_t)) {
            // Fewer than eight bytes are left after a character: the last eight bytes, some of them seen, are
            // plain all together only if the rest is.
            std::uint64_t word;
            std::memcpy(&word, bytes + size - sizeof word, sizeof word);
            bool leadAtTheEnd = false;
            if (isPlainWord(word, leadAtTheEnd) && !leadAtTheEnd)
                i = size;
        }
        if (i >= size)
            break;
        // The word that was not plain goes character by character.
        for (const std::size_t end = std::min(size, i + sizeof(std::uint64_t)); i < end;) {
            const unsigned char byte = bytes[i];
            if (byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\') {
                ++i;
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
    }
    out.append(utf8.data() + copied, size - copied);
    out += '"';
}

std::size_t escapedRoom(std::string_view utf8) {
    return utf8.size() * 6 + 2;
}

// `name` needs no escape: it is one of the protocol's own member names.
void appendKey(std::string& out, std::string_view name) {
    out += '"';
    out += name;
    out += "\":";
}

std::size_t keyRoom(std::string_view name) {
    return name.size() + 3;
}

} // namespace

JsonText::JsonText(const nlohmann::json& document)
    : pieces_{dumped(document)}
    , starts_{0} {}

std::string& JsonText::tailWithRoom(std::size_t reserve) {
    const bool full = !pieces_.empty() && !pieces_.back().empty() && pieces_.back().size() + reserve > pieceBytes;
    if (full && sink_) {
        starts_.back() = size();
        pieces_.back() = sink_(std::move(pieces_.back()));
        pieces_.back().clear();
        pieces_.back().reserve(std::max(reserve, pieceBytes));
    } else if (pieces_.empty() || full) {
        // A text that fills one piece goes on to fill more: give the next ones their full size at once.
        const bool first = pieces_.empty();
        starts_.push_back(size());
        if (spare_.empty()) {
            pieces_.emplace_back();
        } else {
            pieces_.push_back(std::move(spare_.back()));
            spare_.pop_back();
            pieces_.back().clear();
        }
        pieces_.back().reserve(first ? reserve : std::max(reserve, pieceBytes));
    }
    std::string& tail = pieces_.back();
    if (tail.capacity() - tail.size() < reserve)
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
    if (open_.empty())
        return;
    if (open_.back().hasItems)
        text_.append(",");
    open_.back().hasItems = true;
}

void JsonWriter::open(char bracket) {
    beforeValue();
    text_.append(std::string_view(&bracket, 1));
    open_.push_back({bracket == '[' ? ']' : '}', false});
}

void JsonWriter::close(char bracket) {
    open_.pop_back();
    text_.append(std::string_view(&bracket, 1));
}

void JsonWriter::closeTo(std::size_t depth) {
    if (afterKey_) {
        text_.append("null");
        afterKey_ = false;
    }
    while (open_.size() > depth)
        close(open_.back().closer);
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
    appendKey(text_.tailWithRoom(keyRoom(name)), name);
    afterKey_ = true;
}

void JsonWriter::string(std::string_view utf8) {
    beforeValue();
    appendEscaped(text_.tailWithRoom(escapedRoom(utf8)), utf8);
}

void JsonWriter::member(std::string_view name, std::string_view utf8) {
    beforeValue();
    std::string& out = text_.tailWithRoom(keyRoom(name) + escapedRoom(utf8));
    appendKey(out, name);
    appendEscaped(out, utf8);
}

void JsonWriter::object(std::initializer_list<std::pair<std::string_view, std::string_view>> members) {
    beforeValue();
    std::size_t room = 2;
    for (const auto& [name, utf8] : members)
        room += 1 + keyRoom(name) + escapedRoom(utf8);
    std::string& out = text_.tailWithRoom(room);
    out += '{';
    for (const auto& [name, utf8] : members) {
        if (out.back() != '{')
            out += ',';
        appendKey(out, name);
        appendEscaped(out, utf8);
    }
    out += '}';
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

} // namespace journal::protocol
