#pragma once

#include <functional>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace journal::protocol {

// An answer's JSON text as it goes on the wire. A journal's answer is tens of megabytes, so it is kept in pieces
// of about pieceBytes rather than in one string that would be copied each time it grows.
class JsonText {
public:
    static constexpr std::size_t pieceBytes = 256 * 1024;
    // Takes each full piece of an answer that is sent while it is written, and gives back a buffer to write the
    // next one in (emptied; its room is kept).
    using PieceSink = std::function<std::string(std::string full)>;

    JsonText() = default;
    // An empty sink keeps every piece.
    explicit JsonText(PieceSink sink)
        : sink_(std::move(sink)) {}
    // Short answers are built as documents.
    JsonText(const nlohmann::json& document);

    void append(std::string_view text);
    // The bytes [begin, end) of another text.
    void appendSlice(const JsonText& source, std::size_t begin, std::size_t end);
    // `reserve` bytes of room at the end of one piece; the caller may resize the piece back.
    std::string& tailWithRoom(std::size_t reserve);

    std::size_t size() const { return starts_.empty() ? 0 : starts_.back() + pieces_.back().size(); }
    // The pieces not handed to the sink.
    const std::vector<std::string>& pieces() const { return pieces_; }
    bool handedOver() const { return !starts_.empty() && starts_.front() > 0; }

    // Writes into the room of `pieces`, those of a text no longer needed, before taking new memory: every 4 KiB of
    // a long text in fresh memory costs a page fault.
    void reuse(std::vector<std::string> pieces) { spare_ = std::move(pieces); }
    // The pieces, for another text to reuse.
    std::vector<std::string> takePieces() && { return std::move(pieces_); }

    // The whole text in one string; moved out when it is one piece.
    std::string takeWhole();
    // The answer read back as a document, for whoever checks answers rather than sending them.
    operator nlohmann::json() const;

private:
    std::string joined() const;

    PieceSink sink_;
    std::vector<std::string> pieces_;
    std::vector<std::size_t> starts_; // of each piece within the text
    std::vector<std::string> spare_;
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
    // `name` is one of the protocol's own member names: plain ASCII, written as it is.
    void key(std::string_view name);
    void string(std::string_view utf8);
    void member(std::string_view name, std::string_view utf8);
    // An object of text members in the order given, such as a record of a list, in one go.
    void object(std::initializer_list<std::pair<std::string_view, std::string_view>> members);
    void boolean(bool value);
    // A small part built as a document.
    void document(const nlohmann::json& value);
    // A value already written into another text.
    void written(const JsonText& source, std::size_t begin, std::size_t end);

    // How many objects and arrays are open.
    std::size_t depth() const { return open_.size(); }
    // Closes the objects and arrays opened beyond `depth`, as a list broken off would be; a member whose value was
    // not begun gets null.
    void closeTo(std::size_t depth);

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);

    JsonText& text_;
    struct Open {
        char closer;
        bool hasItems;
    };
    std::vector<Open> open_; // each open object or array
    bool afterKey_ = false;
};

} // namespace journal::protocol
