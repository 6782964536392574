#include "AnswerJson.h"

#include "WireFormat.h"

namespace journal::testing {

Json asJson(const AnswerValue& value) {
    return parseJson(simdjson::to_string(value.element()));
}

AnswerValue answerOf(const Json& value) {
    return parseAnswer(wireJson(value));
}

} // namespace journal::testing
