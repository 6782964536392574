#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace journal::protocol {

// An answer's JSON text as it goes on the wire. A journal's answer is tens of megabytes, so it is kept in pieces
// of about pieceBytes rather than in one string that would be copied each time it grows.
class JsonText {
public:
    static constexpr std::size_t pieceBytes = 256 * 1024;

    JsonText() = default;
    // Short answers are built as documents.
    JsonText(const nlohmann::json& document);

    void append(std::string_view text);
    // The bytes [begin, end) of another text.
    void appendSlice(const JsonText& source, std::size_t begin, std::size_t end);
    // `reserve` bytes of room at the end of one piece; the caller may resize the piece back.
    std::string& tailWithRoom(std::size_t reserve);

    std::size_t size() const { return starts_.empty() ? 0 : starts_.back() + pieces_.back().size(); }
    const std::vector<std::string>& pieces() const { return pieces_; }

    // The whole text in one string; moved out when it is one piece.
    std::string takeWhole();
    // The answer read back as a document, for whoever checks answers rather than sending them.
    operator nlohmann::json() const;

private:
    std::string joined() const;

    std::vector<std::string> pieces_;
    std::vector<std::size_t> starts_; // of each piece within the text
};

// Writes JSON into a JsonText as nlohmann's compact dump() does, byte for byte: the same escapes, the same
// replacement of broken UTF-8. Members are written in the order given; an object that must read like a dumped
// document gives them sorted by name.
class JsonWriter {
public:
    explicit JsonWriter(JsonText& text)
        : text_(text) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);
    void string(std::string_view utf8);
    void member(std::string_view name, std::string_view utf8) {
        key(name);
        string(utf8);
    }
    void boolean(bool value);
    // A small part built as a document.
    void document(const nlohmann::json& value);
    // A value already written into another text.
    void written(const JsonText& source, std::size_t begin, std::size_t end);

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void escaped(std::string_view utf8);

    JsonText& text_;
    std::vector<bool> hasItems_; // for each open object or array
    bool afterKey_ = false;
};

} // namespace journal::protocol
