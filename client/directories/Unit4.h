#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm4;
} // namespace Ui

// The workshops directory; for now an empty window with its caption and size.
class TForm4 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm4)
public:
    explicit TForm4(QWidget* mainWindow);
    ~TForm4() override;

private:
    std::unique_ptr<Ui::TForm4> ui;
};
