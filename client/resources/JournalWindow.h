#pragma once

#include "AnswerValue.h"

#include <QMainWindow>
#include <nlohmann/json.hpp>
#include <optional>

namespace journal {

// What the other windows call on the journal window. The windows below it in the build see only
// this, so no library links the journal window back.
class JournalWindow : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JournalWindow)
public:
    using Json = nlohmann::ordered_json;
    using QMainWindow::QMainWindow;

    // Reloads the journal grid ("all_service").
    virtual void updateTableData() = 0;
    // Closes `parent` by its normal close procedure, then shows `children` (modeless).
    virtual void closeAndOpenDialogs(QWidget* parent, QWidget* children) = 0;
    // The machine and repairman lists of the last "load_list_data" answer; none before the first.
    virtual const std::optional<AnswerValue>& JsonMachine() const = 0;
    virtual const std::optional<AnswerValue>& JsonRepairman() const = 0;
};

} // namespace journal
