#pragma once

#include "DirectoryEditor.h"

#include <memory>

namespace Ui {
class TForm7;
} // namespace Ui

// The repairman editor: a repairman's surname, name, patronymic and profession.
class TForm7 final : public journal::DirectoryEditor {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm7)
public:
    explicit TForm7(QWidget* mainWindow, QWidget* directory);
    ~TForm7() override;

private:
    std::unique_ptr<Ui::TForm7> ui;
};

const journal::EditorKind& repairmanEditorKind();
