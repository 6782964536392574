#pragma once

#include "AnswerValue.h"

#include <optional>

namespace journal {

// The machines directory as its machine editor sees it: the workshop list of its last answer. The
// editor library cannot link the directories, so the directory implements this and is handed in.
class WorkshopList {
public:
    // The array at "data.workshop" of the last successful answer; none when that answer had none.
    virtual const std::optional<AnswerValue>& JsonWorkshop() const = 0;

protected:
    WorkshopList() = default;
    ~WorkshopList() = default;
    WorkshopList(const WorkshopList&) = default;
    WorkshopList& operator=(const WorkshopList&) = default;
};

} // namespace journal
