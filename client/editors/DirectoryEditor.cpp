#include "DirectoryEditor.h"

#include "Accessibility.h"
#include "DescriptionText.h"
#include "ErrorMessageServer.h"
#include "MemoLines.h"
#include "RegionalFormats.h"
#include "RequestServer.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace journal {

DirectoryEditor::DirectoryEditor(QWidget* mainWindow, QWidget* directory, const EditorKind& kind)
    : SecondaryWindow(mainWindow)
    , fKind(kind)
    , fDirectory(directory) {}

DirectoryEditor::~DirectoryEditor() = default;

void DirectoryEditor::setUpEditor(const Inputs& inputs) {
    fInputs = inputs;
    fInputs.ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    fInputs.cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    if (fInputs.date != nullptr)
        fInputs.date->setDisplayFormat(RegionalFormats::dateFormat());
    nameControlsForAccessibility(this);
    connect(fInputs.ok, &QPushButton::clicked, this, &DirectoryEditor::BitBtn1Click);
    connect(fInputs.cancel, &QPushButton::clicked, this, &DirectoryEditor::closeEditor);
}

void DirectoryEditor::setVisible(bool visible) {
    if (visible)
        FormShow();
    SecondaryWindow::setVisible(visible);
}

void DirectoryEditor::reject() {
    closeEditor();
}

void DirectoryEditor::FormShow() {
    clearFields();
    fillChoices();
}

void DirectoryEditor::upAction(TTypeAction typeAction) {
    if (fKind.clearsInUpAction)
        clearFields();
    const EditorMode* mode = modeOf(fKind, typeAction);
    if (mode == nullptr)
        return;
    setWindowTitle(mode->caption);
    fInputs.ok->setText(okCaption(typeAction));
    actionCommand = mode->command;
    if (typeAction == TTypeAction::ADD)
        recordId = QStringLiteral("0");
    activeElement(typeAction != TTypeAction::VIEW);
}

void DirectoryEditor::clearFields() {
    for (QLineEdit* edit : fInputs.edits)
        edit->clear();
    if (fInputs.memo != nullptr)
        fInputs.memo->clear();
    if (fInputs.combo != nullptr)
        fInputs.combo->clear();
    if (fInputs.date != nullptr)
        fInputs.date->setDate(QDate::currentDate());
}

void DirectoryEditor::activeElement(bool isActive) {
    for (QLineEdit* edit : fInputs.edits)
        edit->setEnabled(isActive);
    if (fInputs.combo != nullptr)
        fInputs.combo->setEnabled(isActive);
    if (fInputs.date != nullptr)
        fInputs.date->setEnabled(isActive);
    if (fInputs.memo != nullptr && fKind.locksMemoInView)
        fInputs.memo->setReadOnly(!isActive);
}

void DirectoryEditor::editData(const QStringList& fields) {
    const qsizetype count = std::min<qsizetype>(fields.size(), static_cast<qsizetype>(fKind.handedOver.size()));
    for (qsizetype i = 0; i < count; ++i)
        fillSlot(fKind.handedOver[static_cast<std::size_t>(i)], fields[i]);
}

void DirectoryEditor::fillSlot(Slot slot, const QString& text) {
    switch (slot) {
    case Slot::RecordId:
        recordId = text;
        break;
    case Slot::Edit1:
    case Slot::Edit2:
    case Slot::Edit3:
    case Slot::Edit4:
        fInputs.edits.at(static_cast<std::size_t>(slot) - static_cast<std::size_t>(Slot::Edit1))->setText(text);
        break;
    case Slot::Description:
        fInputs.memo->appendPlainText(trimBlanks(text));
        break;
    case Slot::Workshop:
        // The last entry of exactly that title wins; with none the selection stays as it was.
        for (int i = 0; i < fInputs.combo->count(); ++i) {
            if (fInputs.combo->itemText(i) == text)
                fInputs.combo->setCurrentIndex(i);
        }
        break;
    case Slot::Date:
        if (const std::optional<QDate> date = readConstructionDate(text)) {
            fInputs.date->setDate(*date);
        } else {
            fInputs.date->setDate(QDate::currentDate());
            TErrorMessageServer::View(unreadableDateMessage(text), false);
        }
        break;
    }
}

void DirectoryEditor::BitBtn1Click() {
    if (actionCommand == fKind.view.command) {
        closeEditor();
        return;
    }
    EditorValues values;
    values.recordId = recordId;
    for (std::size_t i = 0; i < fInputs.edits.size() && i < values.edits.size(); ++i)
        values.edits[i] = fInputs.edits[i]->text();
    if (fInputs.memo != nullptr)
        values.description = joinDescription(displayedLines(fInputs.memo));
    if (fInputs.date != nullptr)
        values.date = fInputs.date->date();
    if (!completeValues(values))
        return;
    runExchange(editorCommand(fKind, actionCommand, values),
                [this](TRequestServer* Sender) { onSuccessServer(Sender); });
}

void DirectoryEditor::onSuccessServer(TRequestServer*) {
    closeEditor();
}

// Showing the directory makes it ask for its list again; SecondaryWindow centres the editor's next opening.
void DirectoryEditor::closeEditor() {
    hide();
    fDirectory->show();
}

} // namespace journal
