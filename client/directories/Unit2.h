#pragma once

#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm2;
} // namespace Ui

// The machines directory; for now an empty window with its caption and size.
class TForm2 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)
public:
    explicit TForm2(QWidget* mainWindow);
    ~TForm2() override;

private:
    std::unique_ptr<Ui::TForm2> ui;
};
