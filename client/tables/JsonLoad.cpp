#include "JsonLoad.h"

#include "WireFormat.h"

#include <QString>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

using journal::AnswerValue;
using journal::RecordTable;
namespace dom = simdjson::dom;

// Loads JSON records into a table. Each field's member names are worked out once per load.
class RecordLoader final {
public:
    explicit RecordLoader(RecordTable& table)
        : fTable(table) {
        for (const journal::FieldDef& field : table.fields()) {
            fMemberNames.push_back({field.name.toLower().toStdString(), field.name.toStdString()});
        }
        fChosen.resize(fMemberNames.size());
    }

    void loadRecord(dom::object record) {
        if (record.begin() == record.end()) {
            return;
        }
        chooseMembers(record);
        fTable.append();
        for (std::size_t field = 0; field < fChosen.size(); ++field) {
            const Chosen& chosen = fChosen[field];
            const std::optional<dom::element> member = chosen.lowerCase ? chosen.lowerCase : chosen.exact;
            if (!member || member->is_null()) {
                continue;
            }
            if (member->is_string()) {
                fTable.setFieldUtf8(static_cast<int>(field), member->get_string().value_unsafe());
            } else {
                fTable.setField(static_cast<int>(field), journal::textOf(*member));
            }
        }
        fTable.post();
    }

    // Nested lists are flattened in order.
    void loadList(dom::array list) {
        for (const dom::element element : list) {
            if (element.is_object()) {
                loadRecord(element.get_object().value_unsafe());
            } else if (element.is_array()) {
                loadList(element.get_array().value_unsafe());
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
    struct Chosen {
        std::optional<dom::element> lowerCase;
        std::optional<dom::element> exact;
    };

    // One pass over the members: the first member of each name counts, and a member named like the field in
    // lower case counts before one named exactly like it.
    void chooseMembers(dom::object record) {
        for (Chosen& chosen : fChosen) {
            chosen = Chosen();
        }
        for (const dom::key_value_pair member : record) {
            for (std::size_t field = 0; field < fMemberNames.size(); ++field) {
                Chosen& chosen = fChosen[field];
                if (!chosen.lowerCase && member.key == fMemberNames[field].lowerCase) {
                    chosen.lowerCase = member.value;
                } else if (!chosen.exact && member.key == fMemberNames[field].exact) {
                    chosen.exact = member.value;
                }
            }
        }
    }

    RecordTable& fTable;
    std::vector<MemberNames> fMemberNames;
    std::vector<Chosen> fChosen;
};

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\f\v";
    const std::size_t begin = text.find_first_not_of(kWhiteSpace);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(kWhiteSpace) - begin + 1);
}

AnswerValue parseContainer(const std::string& text, AnswerValue::Kind expected) {
    try {
        AnswerValue json = journal::parseAnswer(text);
        if (json.kind() == expected) {
            return json;
        }
    } catch (const std::runtime_error&) {
    }
    throw std::runtime_error("JSON not defined");
}

void loadJson(RecordTable& table, const AnswerValue& json) {
    const RecordTable::Batch batch(table);
    table.keepAlive(json.answer());
    RecordLoader loader(table);
    if (json.isObject()) {
        loader.loadRecord(json.element().get_object().value_unsafe());
    } else if (json.isArray()) {
        const dom::array list = json.element().get_array().value_unsafe();
        table.reserveRows(table.rowCount() + static_cast<int>(list.size()));
        loader.loadList(list);
        table.first();
    } else {
        throw std::runtime_error("JSON not defined");
    }
}

} // namespace

TJSONSerialize::TJSONSerialize(nlohmann::ordered_json json)
    : fJson(std::move(json)) {}

void TJSONSerialize::ToDataSet(journal::RecordTable& table) const {
    loadJson(table, journal::parseAnswer(journal::wireJson(fJson)));
}

void fillFromJson(journal::RecordTable& table, const std::string& text) {
    const std::string_view start = trimmed(text);
    if (start.starts_with('{')) {
        loadJson(table, parseContainer(text, AnswerValue::Kind::Object));
    } else if (start.starts_with('[')) {
        loadJson(table, parseContainer(text, AnswerValue::Kind::Array));
    }
}

namespace journal {

void reloadTable(RecordTable& table, const std::optional<AnswerValue>& list) {
    table.open();
    table.emptyTable();
    if (!list) {
        throw std::runtime_error("the answer has no list");
    }
    if (list->isObject() || list->isArray()) {
        loadJson(table, *list);
    }
}

} // namespace journal
