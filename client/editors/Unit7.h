#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm7;
} // namespace Ui

// The repairman editor; for now an empty window of its size (upAction sets its caption).
class TForm7 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm7)
public:
    explicit TForm7(QWidget* mainWindow);
    ~TForm7() override;

private:
    std::unique_ptr<Ui::TForm7> ui;
};
