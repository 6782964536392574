#pragma once

#include "AnswerValue.h"
#include "SecondaryWindow.h"

#include <memory>

namespace Ui {
class TForm11;
} // namespace Ui

// The record details window: one journal record in full, read-only.
class TForm11 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm11)
public:
    explicit TForm11(QWidget* mainWindow);
    ~TForm11() override;

    // Fills the window from a "view" object; throws when a member it shows is missing. Shows
    // this record alone, also when the window still shows another one.
    void showData(const journal::AnswerValue& data);
    void hideData();

protected:
    void reject() override; // Esc and the close box

private:
    std::unique_ptr<Ui::TForm11> ui;
};
