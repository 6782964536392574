#include "JsonLoad.h"

#include "JsonText.h"

#include <QString>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

using journal::Json;
using journal::RecordTable;

// Loads JSON records into a table. Each field's member names are worked out once per load.
class RecordLoader final {
public:
    explicit RecordLoader(RecordTable& table)
        : fTable(table) {
        for (const journal::FieldDef& field : table.fields()) {
            fMemberNames.push_back({field.name.toLower().toStdString(), field.name.toStdString()});
        }
    }

    void loadRecord(const Json& record) {
        if (record.empty()) {
            return;
        }
        fTable.append();
        for (std::size_t field = 0; field < fMemberNames.size(); ++field) {
            const Json* member = memberFor(record, fMemberNames[field]);
            if (member != nullptr && !member->is_null()) {
                fTable.setField(static_cast<int>(field), journal::textOf(*member));
            }
        }
        fTable.post();
    }

    // Nested lists are flattened in order.
    void loadList(const Json& list) {
        for (const Json& element : list) {
            if (element.is_object()) {
                loadRecord(element);
            } else if (element.is_array()) {
                loadList(element);
            } else {
                throw std::runtime_error("[" + fTable.name().toStdString() + "] Invalid field count");
            }
        }
    }

private:
    struct MemberNames {
        std::string lowerCase;
        std::string exact;
    };

    // A member named like the field in lower case counts before one named exactly like it.
    static const Json* memberFor(const Json& record, const MemberNames& names) {
        for (const std::string* name : {&names.lowerCase, &names.exact}) {
            if (const auto member = record.find(*name); member != record.end()) {
                return &*member;
            }
        }
        return nullptr;
    }

    RecordTable& fTable;
    std::vector<MemberNames> fMemberNames;
};

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
    RecordLoader loader(table);
    if (json.is_object()) {
        loader.loadRecord(json);
    } else if (json.is_array()) {
        loader.loadList(json);
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
