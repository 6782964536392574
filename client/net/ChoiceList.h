#pragma once

#include "AnswerValue.h"

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace journal {

// The records an editor offers for choice (machines, repairmen, workshops): its own copy of the
// list it was filled from (its texts and ids), so that position i keeps standing for the same record whatever list
// the window that fetched it receives later.
class ChoiceList final {
public:
    ChoiceList() = default;
    // `list` none, or any element that is not an object, offers nothing for that element's text.
    ChoiceList(const std::optional<AnswerValue>& list, std::string_view textMember);

    int size() const { return static_cast<int>(fTexts.size()); }
    const QStringList& texts() const { return fTexts; }
    QString idAt(int position) const; // the text of the element's "Id"; empty outside the list

    // The ids of the chosen positions, each once, in the list's order.
    std::vector<QString> idsAt(std::vector<int> positions) const;

private:
    QStringList fTexts;
    std::vector<QString> fIds;
};

} // namespace journal
