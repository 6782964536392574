#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm10;
} // namespace Ui

// The about window: the program's picture and four lines about the work.
class TForm10 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm10)
public:
    explicit TForm10(QWidget* mainWindow);
    ~TForm10() override;

private:
    std::unique_ptr<Ui::TForm10> ui;
};
