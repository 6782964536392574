#pragma once

#include "DirectoryWindow.h"

#include <memory>

namespace Ui {
class TForm4;
} // namespace Ui

// The workshops (buildings) directory.
class TForm4 final : public journal::DirectoryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm4)
public:
    explicit TForm4(journal::JournalWindow* journal);
    ~TForm4() override;

private:
    std::unique_ptr<Ui::TForm4> ui;
};

const journal::DirectoryKind& workshopsDirectory();
