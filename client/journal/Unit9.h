#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm9;
} // namespace Ui

// The help window: a short fixed text on how to use the program.
class TForm9 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm9)
public:
    explicit TForm9(QWidget* mainWindow);
    ~TForm9() override;

private:
    std::unique_ptr<Ui::TForm9> ui;
};
