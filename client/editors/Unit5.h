#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm5;
} // namespace Ui

// The workshop editor; for now an empty window of its size (upAction sets its caption).
class TForm5 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm5)
public:
    explicit TForm5(QWidget* mainWindow);
    ~TForm5() override;

private:
    std::unique_ptr<Ui::TForm5> ui;
};
