#pragma once

#include "ChoiceList.h"
#include "DirectoryEditor.h"

#include <memory>

namespace Ui {
class TForm3;
} // namespace Ui
namespace journal {
class WorkshopList;
} // namespace journal

// The machine editor: a machine's name, description, inventory number and the workshop it stands
// in, chosen from the machines directory's workshop list.
class TForm3 final : public journal::DirectoryEditor {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm3)
public:
    explicit TForm3(QWidget* mainWindow, QWidget* directory, const journal::WorkshopList& workshops);
    ~TForm3() override;

private:
    void fillChoices() override;
    bool completeValues(journal::EditorValues& values) override;

    std::unique_ptr<Ui::TForm3> ui;
    const journal::WorkshopList& fDirectoryWorkshops;
    // The editor's own copy of the list that filled the combo: the directory may load another one
    // while the editor is open, and a combo position must keep standing for the same workshop.
    journal::ChoiceList fWorkshops;
    QString workshopId; // the workshop chosen at the last save
};

const journal::EditorKind& machineEditorKind();
