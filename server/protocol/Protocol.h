#pragma once

#include "protocol/JournalCache.h"
#include "protocol/JsonWriter.h"
#include "storage/ConnectionPool.h"
#include "text/DateTimeFormat.h"

#include <exception>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace journal::protocol {

class CommandInput;
struct CommandDefinition;

enum class Outcome { Success, Refused, Failed };

struct Answer {
    JsonText body;
    Outcome outcome = Outcome::Success;
    std::string command; // the command's name when it was one of the protocol, else empty
    std::string fault;   // for Failed: what went wrong inside, for the server's log only
    // The body is what follows the pieces handed to the sink: the end of the list, or of a list broken off by an
    // error. Otherwise pieces handed over are followed by nothing that could end them.
    bool endsHandedPieces = false;
};

nlohmann::json refusalBody(std::string_view message);

// What the user reads when a command failed inside the server: the database could not be reached or was busy, or
// the server itself failed on the command (and changed nothing).
inline constexpr std::string_view databaseUnavailableMessage =
    "База данных недоступна или занята. Повторите попытку позже.";
inline constexpr std::string_view commandFailedMessage = "Внутренняя ошибка сервера: команда не выполнена.";
// Which of them tells of `error`.
std::string_view failureMessage(const std::exception_ptr& error);

// Carries out one command: checks the key, reads the command object and runs its handler in one transaction.
// A transaction that lost a race with another writer is run again, up to maxAttempts in all.
class Protocol {
public:
    static constexpr int maxAttempts = 3;

    Protocol(storage::ConnectionPool& database, ServerFormats formats, std::string accessKey);

    // `data` and `key` are the decoded form fields, absent when the form lacks them. A command that only reads
    // hands the full pieces of a long answer to `sink` as it writes them; should it fail after that, its answer
    // is the error, and the pieces handed over must not be taken for a whole answer.
    Answer answer(const std::optional<std::string>& data, const std::optional<std::string>& key,
                  const JsonText::PieceSink& sink = {}) const;

private:
    Answer run(const nlohmann::json& command, std::string_view name, const JsonText::PieceSink& sink) const;
    JsonText runOnce(const CommandDefinition& definition, const CommandInput& input,
                     const JsonText::PieceSink& sink) const;

    storage::ConnectionPool& database_;
    ServerFormats formats_;
    std::string accessKey_;
    mutable JournalCache journalCache_;
};

} // namespace journal::protocol
