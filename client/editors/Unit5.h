#pragma once

#include "DirectoryEditor.h"

#include <memory>

namespace Ui {
class TForm5;
} // namespace Ui

// The workshop editor: a workshop's (building's) name, description and construction date.
class TForm5 final : public journal::DirectoryEditor {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm5)
public:
    explicit TForm5(QWidget* mainWindow, QWidget* directory);
    ~TForm5() override;

private:
    std::unique_ptr<Ui::TForm5> ui;
};

const journal::EditorKind& workshopEditorKind();
