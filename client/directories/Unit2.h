#pragma once

#include "DirectoryWindow.h"
#include "WorkshopList.h"

#include <memory>
#include <optional>

namespace Ui {
class TForm2;
} // namespace Ui

// The machines directory. Besides its machines it keeps the workshop list of its last answer for
// the machine editor.
class TForm2 final : public journal::DirectoryWindow, public journal::WorkshopList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)
public:
    explicit TForm2(journal::JournalWindow* journal);
    ~TForm2() override;

    const std::optional<journal::AnswerValue>& JsonWorkshop() const override { return fJsonWorkshop; }

private:
    void keepFromAnswer(const journal::AnswerValue& answer) override;

    std::unique_ptr<Ui::TForm2> ui;
    std::optional<journal::AnswerValue> fJsonWorkshop;
};

const journal::DirectoryKind& machinesDirectory();
