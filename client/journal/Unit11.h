#pragma once

#include "SecondaryWindow.h"

#include <memory>
#include <nlohmann/json.hpp>

namespace Ui {
class TForm11;
} // namespace Ui

// The record details window; for now an empty window with its caption and size.
class TForm11 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm11)
public:
    explicit TForm11(QWidget* mainWindow);
    ~TForm11() override;

    void showData(const nlohmann::ordered_json& data);

private:
    std::unique_ptr<Ui::TForm11> ui;
};
