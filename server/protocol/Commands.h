#pragma once

#include "protocol/CommandInput.h"
#include "protocol/JsonWriter.h"
#include "protocol/ListAnswers.h"
#include "storage/JournalStore.h"

#include <exception>
#include <nlohmann/json.hpp>
#include <string_view>

namespace journal::protocol {

struct CommandContext {
    const CommandInput& input;
    storage::JournalStore& store;
    const ListAnswers& answers;
    // Where a long answer of a read goes while it is being written; empty to keep it whole.
    const JsonText::PieceSink& answerSink;
};

// A read that failed after part of its answer was handed over: `rest` ends that answer as an error object, which
// the client shows instead of the list.
struct FailedMidway {
    JsonText rest;
    std::exception_ptr cause;
};

// Returns the whole success answer; throws Refusal to refuse.
using CommandHandler = JsonText (*)(const CommandContext&);

struct CommandDefinition {
    std::string_view name;
    bool writes; // takes the write lock for the whole transaction
    CommandHandler handle;
};

// nullptr for a name that is no command of the protocol.
const CommandDefinition* findCommand(std::string_view name);

} // namespace journal::protocol
