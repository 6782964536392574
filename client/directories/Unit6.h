#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm6;
} // namespace Ui

// The repairmen directory; for now an empty window with its caption and size.
class TForm6 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm6)
public:
    explicit TForm6(QWidget* mainWindow);
    ~TForm6() override;

private:
    std::unique_ptr<Ui::TForm6> ui;
};
