#pragma once

#include "EditorCommands.h"
#include "SecondaryWindow.h"
#include "TypeAction.h"

#include <QStringList>
#include <vector>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TRequestServer;

namespace journal {

// What the three directory record editors share: the modes, filling from a directory row, locking the
// inputs for viewing, OK and the return to the directory. Each editor gives its kind and its inputs.
class DirectoryEditor : public SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DirectoryEditor)
public:
    ~DirectoryEditor() override;

    void upAction(TTypeAction typeAction);
    // The row's field texts, in the order of the kind's handedOver.
    void editData(const QStringList& fields);

    // Every opening runs the show step, also one while the editor is still open: a second record
    // handed over then starts from a clean editor instead of adding to the first.
    void setVisible(bool visible) override;

protected:
    // The editor's inputs as its form made them; absent kinds stay null.
    struct Inputs {
        std::vector<QLineEdit*> edits; // Edit1, Edit2, ...
        QPlainTextEdit* memo = nullptr;
        QComboBox* combo = nullptr;
        QDateEdit* date = nullptr;
        QPushButton* ok = nullptr;
        QPushButton* cancel = nullptr;
    };

    DirectoryEditor(QWidget* mainWindow, QWidget* directory, const EditorKind& kind);
    // After the form is set up.
    void setUpEditor(const Inputs& inputs);

    void reject() override; // Esc and the close box

    // The machine editor's differences: what the combo offers, and the check before OK sends.
    virtual void fillChoices() {}
    virtual bool completeValues(EditorValues&) { return true; }

    const Inputs& inputs() const { return fInputs; }

private:
    void FormShow();
    void clearFields();
    void activeElement(bool isActive);
    void fillSlot(Slot slot, const QString& text);
    void BitBtn1Click();
    void onSuccessServer(TRequestServer* Sender);
    void closeEditor();

    const EditorKind& fKind;
    QWidget* fDirectory;
    Inputs fInputs;
    // The command OK sends and the record it sends it for, kept across openings.
    std::string actionCommand;
    QString recordId;
};

} // namespace journal
