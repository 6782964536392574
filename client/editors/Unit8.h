#pragma once

#include "SecondaryWindow.h"
#include "TypeAction.h"

#include <memory>
#include <nlohmann/json.hpp>

namespace Ui {
class TForm8;
} // namespace Ui

// The journal record editor. For now it takes its mode's caption; its inputs and saving come later.
class TForm8 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm8)
public:
    explicit TForm8(QWidget* mainWindow);
    ~TForm8() override;

    void upAction(TTypeAction typeAction);
    void editData(const nlohmann::ordered_json& fieldsService);

private:
    std::unique_ptr<Ui::TForm8> ui;
};
