#include "protocol/Protocol.h"

#include "protocol/Commands.h"
#include "protocol/Refusal.h"

namespace journal::protocol {
namespace {

// Compares without stopping at the first difference, so timing tells nothing about the key.
bool sameKey(std::string_view given, std::string_view expected) {
    unsigned char difference = given.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < given.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ expected[i % expected.size()]);
    return difference == 0;
}

Answer refused(std::string_view message, std::string command = {}) {
    return {refusalBody(message), Outcome::Refused, std::move(command), {}};
}

Answer failed(std::string_view message, std::string command, std::string fault) {
    return {refusalBody(message), Outcome::Failed, std::move(command), std::move(fault)};
}

std::string describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

} // namespace

std::string_view failureMessage(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const storage::DatabaseUnavailable&) {
        return databaseUnavailableMessage;
    } catch (...) {
        return commandFailedMessage;
    }
}

nlohmann::json refusalBody(std::string_view message) {
    return {{"error", message}};
}

Protocol::Protocol(storage::ConnectionPool& database, ServerFormats formats, std::string accessKey)
    : database_(database)
    , formats_(std::move(formats))
    , accessKey_(std::move(accessKey)) {}

Answer Protocol::answer(const std::optional<std::string>& data, const std::optional<std::string>& key,
                        const JsonText::PieceSink& sink) const {
    if (!key || !sameKey(*key, accessKey_))
        return refused("Неверный ключ доступа.");
    if (!data)
        return refused("В запросе нет поля data.");
    const nlohmann::json command = nlohmann::json::parse(*data, nullptr, false);
    if (!command.is_object())
        return refused("Поле data должно содержать объект JSON.");
    const auto name = command.find("command");
    if (name == command.end() || !name->is_string())
        return refused("В запросе нет команды.");
    return run(command, name->get_ref<const std::string&>(), sink);
}

Answer Protocol::run(const nlohmann::json& command, std::string_view name, const JsonText::PieceSink& sink) const {
    const CommandDefinition* definition = findCommand(name);
    if (definition == nullptr)
        return refused("Неизвестная команда.");
    std::string commandName(definition->name);
    bool handedOver = false;
    JsonText::PieceSink countedSink;
    if (sink && !definition->writes) {
        countedSink = [&](std::string full) {
            handedOver = true;
            return sink(std::move(full));
        };
    }
    try {
        const CommandInput input(command, formats_);
        for (int attempt = 1;; ++attempt) {
            try {
                JsonText body = runOnce(*definition, input, countedSink);
                return {std::move(body), Outcome::Success, std::move(commandName), {}, handedOver};
            } catch (const storage::SerializationConflict&) {
                // Rolled back whole, so running it again cannot apply it twice; but what was sent stays sent.
                if (attempt == maxAttempts || handedOver)
                    throw;
            }
        }
    } catch (FailedMidway& midway) {
        return {std::move(midway.rest), Outcome::Failed, std::move(commandName), describe(midway.cause), true};
    } catch (const Refusal& refusal) {
        return refused(refusal.what(), std::move(commandName));
    } catch (const storage::ConstraintViolation&) {
        return refused("Связанная запись была изменена или удалена другим пользователем. Обновите список.",
                       std::move(commandName));
    } catch (const storage::DatabaseUnavailable& error) {
        return failed(databaseUnavailableMessage, std::move(commandName), error.what());
    } catch (const std::exception& error) {
        return failed(commandFailedMessage, std::move(commandName), error.what());
    } catch (...) {
        return failed(commandFailedMessage, std::move(commandName), "an exception of unknown type");
    }
}

JsonText Protocol::runOnce(const CommandDefinition& definition, const CommandInput& input,
                           const JsonText::PieceSink& sink) const {
    auto connection = database_.acquire();
    storage::JournalStore store(*connection);
    const ListAnswers answers(store, formats_, definition.writes ? nullptr : &journalCache_);
    connection->begin(definition.writes);
    try {
        // A change is answered whole before its commit, so that what the client reads is what was committed.
        JsonText body = definition.handle({input, store, answers, sink});
        connection->commit();
        return body;
    } catch (...) {
        connection->rollback();
        throw;
    }
}

} // namespace journal::protocol
