#pragma once

#include "ChoiceList.h"
#include "SecondaryWindow.h"
#include "TypeAction.h"

#include <memory>

namespace Ui {
class TForm8;
} // namespace Ui
namespace journal {
class JournalWindow;
} // namespace journal
class TRequestServer;

// The journal record editor: adds a repair record or changes one, with the machine and the
// repairmen chosen from the lists the journal window fetched just before it opened.
class TForm8 final : public journal::SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm8)
public:
    explicit TForm8(journal::JournalWindow* journal);
    ~TForm8() override;

    void upAction(TTypeAction typeAction);
    // Throws when the record lacks a member or holds a date or time it cannot read.
    void editData(const journal::AnswerValue& fieldsService);

    // Every opening starts from a clean editor, also one while it is still open.
    void setVisible(bool visible) override;

protected:
    void reject() override; // Esc, the close box and Cancel

private:
    void FormShow();
    void clearFields();
    void activeFinishDate(bool isActive);
    std::vector<QString> getIdsRepairman() const;
    void BitBtn1Click();
    void onSuccessServer(TRequestServer* Sender);
    void closeEditor();

    std::unique_ptr<Ui::TForm8> ui;
    journal::JournalWindow* fJournal;
    // Copies of the journal's lists taken by the show step: what the combo and the list show.
    journal::ChoiceList fMachines;
    journal::ChoiceList fRepairmen;
};
