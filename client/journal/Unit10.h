#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm10;
} // namespace Ui

// The about window; for now an empty window with its caption and size.
class TForm10 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm10)
public:
    explicit TForm10(QWidget* mainWindow);
    ~TForm10() override;

private:
    std::unique_ptr<Ui::TForm10> ui;
};
