#pragma once

#include "DirectoryWindow.h"

#include <memory>

namespace Ui {
class TForm6;
} // namespace Ui

// The repairmen directory: the staff who carry out the repairs.
class TForm6 final : public journal::DirectoryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm6)
public:
    explicit TForm6(journal::JournalWindow* journal);
    ~TForm6() override;

private:
    std::unique_ptr<Ui::TForm6> ui;
};

const journal::DirectoryKind& repairmenDirectory();
