#include "protocol/CommandInput.h"

#include "protocol/Refusal.h"
#include "text/UnicodeText.h"

#include <charconv>

namespace journal::protocol {
namespace {

// Echoes at most a short piece of what the user sent.
std::string inQuotes(std::string_view text) {
    return "«" + leftCharacters(text, 40) + "»";
}

} // namespace

storage::RecordId parseRecordId(std::string_view text, std::string_view member) {
    storage::RecordId id = 0;
    const bool digitsOnly = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (!digitsOnly || error != std::errc() || end != text.data() + text.size() || id <= 0)
        throw Refusal("Поле " + inQuotes(member) + " должно содержать номер записи.");
    return id;
}

std::optional<std::string> CommandInput::optionalText(std::string_view member) const {
    const auto found = command_.find(member);
    if (found == command_.end())
        return std::nullopt;
    if (!found->is_string())
        throw Refusal("Поле " + inQuotes(member) + " должно быть строкой.");
    return found->get<std::string>();
}

std::string CommandInput::text(std::string_view member) const {
    auto value = optionalText(member);
    if (!value)
        throw Refusal("В запросе нет поля " + inQuotes(member) + ".");
    return std::move(*value);
}

storage::RecordId CommandInput::recordId(std::string_view member) const {
    return parseRecordId(trimmed(text(member)), member);
}

std::string CommandInput::boundedText(std::string_view member, std::string_view label, std::size_t maxCharacters,
                                      bool required) const {
    std::string value = trimmed(text(member));
    if (required && value.empty())
        throw Refusal("Поле " + inQuotes(label) + " не заполнено.");
    if (characterCount(value) > maxCharacters)
        throw Refusal("Поле " + inQuotes(label) + " длиннее " + std::to_string(maxCharacters) + " символов.");
    return value;
}

Date CommandInput::date(std::string_view member) const {
    const std::string value = text(member);
    const auto parsed = formats_.parseDate(trimmed(value));
    if (!parsed)
        throw Refusal("Дата " + inQuotes(value) + " в поле " + inQuotes(member) + " не соответствует формату " +
                      formats_.formatDate({2024, 12, 31}) + ".");
    return *parsed;
}

TimeOfDay CommandInput::time(std::string_view member) const {
    const std::string value = text(member);
    const auto parsed = formats_.parseTime(trimmed(value));
    if (!parsed)
        throw Refusal("Время " + inQuotes(value) + " в поле " + inQuotes(member) + " не соответствует формату " +
                      formats_.formatTime({23, 59, 58}) + ".");
    return *parsed;
}

} // namespace journal::protocol
