#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <simdjson.h>
#include <string>
#include <string_view>

namespace journal {

// A received answer, parsed once. Values refer into it, and it lives for as long as any of them does, so the
// tables and the lists windows keep can point at its texts instead of copying them.
struct AnswerDocument {
    simdjson::dom::document document;
};

// One value of an answer: a cheap handle that keeps its answer alive.
class AnswerValue final {
public:
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    AnswerValue(); // null, of no answer
    AnswerValue(std::shared_ptr<const AnswerDocument> answer, simdjson::dom::element element)
        : fAnswer(std::move(answer))
        , fElement(element) {}

    Kind kind() const;
    bool isObject() const { return fElement.is_object(); }
    bool isArray() const { return fElement.is_array(); }

    // The first member of that name (names are case-sensitive); none when absent or this is not an object.
    std::optional<AnswerValue> member(std::string_view name) const;

    // The text of the value: a string itself, a number its decimal text, "true"/"false"/"null", an object or
    // array the empty text.
    QString text() const;

    const simdjson::dom::element& element() const { return fElement; }
    const std::shared_ptr<const AnswerDocument>& answer() const { return fAnswer; }

private:
    std::shared_ptr<const AnswerDocument> fAnswer;
    simdjson::dom::element fElement;
};

// Parses exactly one JSON value (surrounding white space and a leading byte order mark allowed). Nesting deeper
// than 512 containers is refused. Throws std::runtime_error on anything else.
AnswerValue parseAnswer(std::string body);

// The text of any value as AnswerValue::text() gives it.
QString textOf(simdjson::dom::element value);

// Member by dotted path ("list.machine"); none when any step is missing or is not an object.
std::optional<AnswerValue> findPath(const AnswerValue& root, std::string_view dottedPath);

} // namespace journal
