#pragma once

#include "AnswerValue.h"
#include "JsonText.h"

namespace journal::testing {

// An answer value as a document of the JSON library, so tests can compare and build answers.
Json asJson(const AnswerValue& value);
AnswerValue answerOf(const Json& value);

} // namespace journal::testing
