#include "AnswerValue.h"

#include "JsonText.h"
#include "WireFormat.h"

#include <stdexcept>

namespace journal {
namespace {

// Readers and writers of documents recurse; a hostile nesting depth must not overflow the stack.
constexpr std::size_t kMaxDepth = 512;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One parser for the whole program: its buffers, sized by the largest answer so far, serve every later answer.
simdjson::dom::parser& answerParser() {
    thread_local simdjson::dom::parser parser = [] {
        simdjson::dom::parser made;
        if (made.allocate(0, kMaxDepth) != simdjson::SUCCESS)
            throw std::runtime_error("no memory for the JSON parser");
        return made;
    }();
    return parser;
}

std::shared_ptr<AnswerDocument> parseDocument(std::string& body) {
    if (body.capacity() < body.size() + simdjson::SIMDJSON_PADDING)
        body.reserve(body.size() + simdjson::SIMDJSON_PADDING);
    std::string_view text = body;
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    auto answer = std::make_shared<AnswerDocument>();
    const simdjson::error_code error =
        answerParser().parse_into_document(answer->document, text.data(), text.size(), false).error();
    if (error == simdjson::SUCCESS)
        return answer;
    // Integers beyond 64 bits are numbers all the same: read as floating point, as the writer's parser reads them.
    // That parser stops at a NUL byte, so text holding one must not take this way past the strict reader.
    if (error == simdjson::NUMBER_ERROR && text.find('\0') == std::string_view::npos) {
        std::string rewritten = wireJson(parseJson(text));
        if (rewritten != text)
            return parseDocument(rewritten);
    }
    throw std::runtime_error(std::string("unreadable JSON: ") + simdjson::error_message(error));
}

const AnswerValue& nullValue() {
    static const AnswerValue null = parseAnswer("null");
    return null;
}

} // namespace

AnswerValue::AnswerValue()
    : AnswerValue(nullValue()) {}

AnswerValue::Kind AnswerValue::kind() const {
    switch (fElement.type()) {
    case simdjson::dom::element_type::ARRAY:
        return Kind::Array;
    case simdjson::dom::element_type::OBJECT:
        return Kind::Object;
    case simdjson::dom::element_type::STRING:
        return Kind::String;
    case simdjson::dom::element_type::BOOL:
        return Kind::Boolean;
    case simdjson::dom::element_type::NULL_VALUE:
        return Kind::Null;
    default:
        return Kind::Number;
    }
}

std::optional<AnswerValue> AnswerValue::member(std::string_view name) const {
    if (!fElement.is_object())
        return std::nullopt;
    simdjson::dom::element found;
    if (fElement.get_object().at_key(name).get(found) != simdjson::SUCCESS)
        return std::nullopt;
    return AnswerValue(fAnswer, found);
}

QString AnswerValue::text() const {
    return textOf(fElement);
}

AnswerValue parseAnswer(std::string body) {
    std::shared_ptr<const AnswerDocument> answer = parseDocument(body);
    const simdjson::dom::element root = answer->document.root();
    return AnswerValue(std::move(answer), root);
}

QString textOf(simdjson::dom::element value) {
    switch (value.type()) {
    case simdjson::dom::element_type::STRING: {
        const std::string_view text = value.get_string().value_unsafe();
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    case simdjson::dom::element_type::INT64:
        return QString::number(value.get_int64().value_unsafe());
    case simdjson::dom::element_type::UINT64:
        return QString::number(value.get_uint64().value_unsafe());
    case simdjson::dom::element_type::DOUBLE:
        return textOf(Json(value.get_double().value_unsafe()));
    case simdjson::dom::element_type::BOOL:
        return value.get_bool().value_unsafe() ? QStringLiteral("true") : QStringLiteral("false");
    case simdjson::dom::element_type::NULL_VALUE:
        return QStringLiteral("null");
    default:
        return {};
    }
}

std::optional<AnswerValue> findPath(const AnswerValue& root, std::string_view dottedPath) {
    std::optional<AnswerValue> node = root;
    while (node) {
        const std::size_t dot = dottedPath.find('.');
        node = node->member(dottedPath.substr(0, dot));
        if (dot == std::string_view::npos)
            return node;
        dottedPath.remove_prefix(dot + 1);
    }
    return node;
}

} // namespace journal
