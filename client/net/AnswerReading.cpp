#include "AnswerReading.h"

#include <string>

namespace journal {
namespace {

[[noreturn]] void unusable(std::string_view what, std::string_view path) {
    throw UnusableAnswer(std::string(what) + " " + std::string(path));
}

} // namespace

ChannelAnswer readAnswerBody(std::string body) {
    AnswerValue answer = parseAnswer(std::move(body));
    if (!answer.isObject())
        throw std::runtime_error("the answer is not a JSON object");
    ChannelAnswer read;
    if (const auto error = answer.member("error"))
        read.refusal = error->text();
    if (answer.member("success"))
        read.success = std::move(answer);
    return read;
}

std::optional<AnswerValue> memberOfKind(const AnswerValue& root, std::string_view path, AnswerValue::Kind kind) {
    std::optional<AnswerValue> member = findPath(root, path);
    if (member && member->kind() != kind)
        unusable("the answer holds another kind of value at", path);
    return member;
}

std::optional<AnswerValue> arrayAt(const AnswerValue& root, std::string_view path) {
    return memberOfKind(root, path, AnswerValue::Kind::Array);
}

AnswerValue objectAt(const AnswerValue& root, std::string_view path) {
    std::optional<AnswerValue> object = memberOfKind(root, path, AnswerValue::Kind::Object);
    if (!object)
        unusable("the answer lacks", path);
    return std::move(*object);
}

AnswerValue requiredMember(const AnswerValue& object, std::string_view name) {
    if (!object.isObject())
        unusable("not an object where a record was expected:", name);
    std::optional<AnswerValue> member = object.member(name);
    if (!member)
        unusable("the record lacks", name);
    return std::move(*member);
}

QString requiredText(const AnswerValue& object, std::string_view name) {
    return requiredMember(object, name).text();
}

QString memberText(const AnswerValue& element, std::string_view name) {
    const std::optional<AnswerValue> member = element.member(name);
    return member ? member->text() : QString();
}

} // namespace journal
