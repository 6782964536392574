#include "ChoiceList.h"

#include "AnswerReading.h"

#include <algorithm>

namespace journal {

ChoiceList::ChoiceList(const std::optional<Json>& list, std::string textMember) {
    if (!list || !list->is_array())
        return;
    fList = *list;
    for (const Json& element : fList)
        fTexts << memberText(element, textMember);
}

QString ChoiceList::idAt(int position) const {
    if (position < 0 || position >= size())
        return {};
    return memberText(fList[static_cast<std::size_t>(position)], "Id");
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
