#pragma once

#include "AnswerValue.h"
#include "RecordTable.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

// Appends the records of a JSON object or array to an open table. Errors are thrown as
// std::runtime_error ("[mtService] Invalid field count", "JSON not defined").
class TJSONSerialize final {
public:
    explicit TJSONSerialize(nlohmann::ordered_json json);
    void ToDataSet(journal::RecordTable& table) const;

private:
    nlohmann::ordered_json fJson;
};

void fillFromJson(journal::RecordTable& table, const std::string& text);

namespace journal {

// How a window refreshes a table: open it if needed, empty it and load the list value (the same
// rows as writing it back as ASCII JSON and calling fillFromJson, without the detour through text).
// The table refers to the list's texts and keeps its answer alive. A missing list throws after the table was
// emptied.
void reloadTable(RecordTable& table, const std::optional<AnswerValue>& list);

} // namespace journal
