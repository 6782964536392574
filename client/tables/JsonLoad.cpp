#include "JsonLoad.h"

#include "JsonText.h"

#include <QString>
#include <stdexcept>
#include <string_view>

namespace {

using journal::Json;
using journal::RecordTable;

// A member named like the field in lower case counts before one named exactly like it.
const Json* memberFor(const Json& record, const QString& fieldName) {
    for (const QString& name : {fieldName.toLower(), fieldName}) {
        if (const auto member = record.find(name.toStdString()); member != record.end()) {
            return &*member;
        }
    }
    return nullptr;
}

void loadRecord(RecordTable& table, const Json& record) {
    if (record.empty()) {
        return;
    }
    table.append();
    const auto& fields = table.fields();
    for (std::size_t field = 0; field < fields.size(); ++field) {
        const Json* member = memberFor(record, fields[field].name);
        if (member != nullptr && !member->is_null()) {
            table.setField(static_cast<int>(field), journal::textOf(*member));
        }
    }
    table.post();
}

// Nested lists are flattened in order.
void loadList(RecordTable& table, const Json& list) {
    for (const Json& element : list) {
        if (element.is_object()) {
            loadRecord(table, element);
        } else if (element.is_array()) {
            loadList(table, element);
        } else {
            throw std::runtime_error("[" + table.name().toStdString() + "] Invalid field count");
        }
    }
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\f\v";
    const std::size_t begin = text.find_first_not_of(kWhiteSpace);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(kWhiteSpace) - begin + 1);
}

Json parseContainer(const std::string& text, Json::value_t expected) {
    try {
        Json json = journal::parseJson(text);
        if (json.type() == expected) {
            return json;
        }
    } catch (const std::runtime_error&) {
    }
    throw std::runtime_error("JSON not defined");
}

void loadJson(RecordTable& table, const Json& json) {
    const RecordTable::Batch batch(table);
    if (json.is_object()) {
        loadRecord(table, json);
    } else if (json.is_array()) {
        loadList(table, json);
        table.first();
    } else {
        throw std::runtime_error("JSON not defined");
    }
}

} // namespace

TJSONSerialize::TJSONSerialize(nlohmann::ordered_json json)
    : fJson(std::move(json)) {}

void TJSONSerialize::ToDataSet(journal::RecordTable& table) const {
    loadJson(table, fJson);
}

void fillFromJson(journal::RecordTable& table, const std::string& text) {
    const std::string_view start = trimmed(text);
    if (start.starts_with('{')) {
        TJSONSerialize(parseContainer(text, Json::value_t::object)).ToDataSet(table);
    } else if (start.starts_with('[')) {
        TJSONSerialize(parseContainer(text, Json::value_t::array)).ToDataSet(table);
    }
}

namespace journal {

// Loads the parsed value directly: writing it out as ASCII JSON and parsing that again
// would give the same rows.
void reloadTable(RecordTable& table, const Json* list) {
    table.open();
    table.emptyTable();
    if (list == nullptr) {
        throw std::runtime_error("the answer has no list");
    }
    if (list->is_object() || list->is_array()) {
        loadJson(table, *list);
    }
}

} // namespace journal
