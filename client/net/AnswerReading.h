#pragma once

#include "AnswerValue.h"

#include <QString>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace journal {

// Thrown when an answer lacks what its window needs or holds it in another kind. Raised inside
// a completion callback, it makes the channel end the exchange with its fixed message.
struct UnusableAnswer : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What an answer body asks of the channel: a refusal to show and, independently, a success to hand
// to the asking window.
struct ChannelAnswer {
    std::optional<QString> refusal;     // the text of the first "error" member
    std::optional<AnswerValue> success; // the whole answer, when it has "success"
};

// Throws std::runtime_error when the body is not exactly one JSON object: the exchange has failed.
ChannelAnswer readAnswerBody(std::string body);

// The member at a dotted path, nullptr when absent; present in another kind than `kind`: throws.
std::optional<AnswerValue> memberOfKind(const AnswerValue& root, std::string_view path, AnswerValue::Kind kind);

// The array at a path, or none when absent; present but not an array: throws.
std::optional<AnswerValue> arrayAt(const AnswerValue& root, std::string_view path);

// The object at a path; absent or not an object: throws.
AnswerValue objectAt(const AnswerValue& root, std::string_view path);

// A member that must be there, of any kind; absent (or `object` not an object): throws.
AnswerValue requiredMember(const AnswerValue& object, std::string_view name);

// The text of a member that must be there.
QString requiredText(const AnswerValue& object, std::string_view name);

// The text of a member of an element of a kept list; an element without it gives the empty text,
// so a sparse list never ends the program long after its answer was read.
QString memberText(const AnswerValue& element, std::string_view name);

} // namespace journal
