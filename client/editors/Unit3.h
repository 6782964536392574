#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm3;
} // namespace Ui

// The machine editor; for now an empty window of its size (upAction sets its caption).
class TForm3 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm3)
public:
    explicit TForm3(QWidget* mainWindow);
    ~TForm3() override;

private:
    std::unique_ptr<Ui::TForm3> ui;
};
