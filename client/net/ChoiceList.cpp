#include "ChoiceList.h"

#include "AnswerReading.h"

#include <algorithm>

namespace journal {

ChoiceList::ChoiceList(const std::optional<AnswerValue>& list, std::string_view textMember) {
    if (!list || !list->isArray())
        return;
    const simdjson::dom::array elements = list->element().get_array().value_unsafe();
    for (const simdjson::dom::element element : elements) {
        const AnswerValue record(list->answer(), element);
        fTexts << memberText(record, textMember);
        fIds.push_back(memberText(record, "Id"));
    }
}

QString ChoiceList::idAt(int position) const {
    if (position < 0 || position >= size())
        return {};
    return fIds[static_cast<std::size_t>(position)];
}

std::vector<QString> ChoiceList::idsAt(std::vector<int> positions) const {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::vector<QString> ids;
    for (int position : positions) {
        if (position >= 0 && position < size())
            ids.push_back(idAt(position));
    }
    return ids;
}

} // namespace journal
