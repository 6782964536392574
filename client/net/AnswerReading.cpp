#include "AnswerReading.h"

#include <string>

namespace journal {
namespace {

[[noreturn]] void unusable(std::string_view what, std::string_view path) {
    throw UnusableAnswer(std::string(what) + " " + std::string(path));
}

} // namespace

ChannelAnswer readAnswerBody(std::string_view body) {
    Json answer = parseJson(body);
    if (!answer.is_object())
        throw std::runtime_error("the answer is not a JSON object");
    ChannelAnswer read;
    if (const auto error = answer.find("error"); error != answer.end())
        read.refusal = textOf(*error);
    if (answer.contains("success"))
        read.success = std::move(answer);
    return read;
}

const Json* memberOfKind(const Json& root, std::string_view path, Json::value_t kind) {
    const Json* member = findPath(root, path);
    if (member != nullptr && member->type() != kind)
        unusable("the answer holds another kind of value at", path);
    return member;
}

std::optional<Json> arrayAt(const Json& root, std::string_view path) {
    const Json* array = memberOfKind(root, path, Json::value_t::array);
    return array != nullptr ? std::optional<Json>(*array) : std::nullopt;
}

const Json& objectAt(const Json& root, std::string_view path) {
    const Json* object = memberOfKind(root, path, Json::value_t::object);
    if (object == nullptr)
        unusable("the answer lacks", path);
    return *object;
}

const Json& requiredMember(const Json& object, std::string_view name) {
    if (!object.is_object())
        unusable("not an object where a record was expected:", name);
    const auto member = object.find(std::string(name));
    if (member == object.end())
        unusable("the record lacks", name);
    return *member;
}

QString requiredText(const Json& object, std::string_view name) {
    return textOf(requiredMember(object, name));
}

QString memberText(const Json& element, std::string_view name) {
    if (!element.is_object())
        return {};
    const auto member = element.find(std::string(name));
    return member != element.end() ? textOf(*member) : QString();
}

} // namespace journal
