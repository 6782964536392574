#include "Unit8.h"

#include "Accessibility.h"
#include "ErrorMessageServer.h"
#include "JournalRecords.h"
#include "JournalWindow.h"
#include "MemoLines.h"
#include "RegionalFormats.h"
#include "RequestServer.h"
#include "ui_Unit8.h"

#include <QStyle>

namespace {

// Unit-level: the command OK sends and the record it sends it for, kept across openings.
QString actionCommand;
QString recordId;

} // namespace

TForm8::TForm8(journal::JournalWindow* journal)
    : SecondaryWindow(journal)
    , ui(std::make_unique<Ui::TForm8>())
    , fJournal(journal) {
    ui->setupUi(this);
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    for (QDateTimeEdit* date : {ui->DateTimePicker1, ui->DateTimePicker3})
        date->setDisplayFormat(journal::RegionalFormats::dateFormat());
    for (QDateTimeEdit* time : {ui->DateTimePicker2, ui->DateTimePicker4}) {
        time->setDisplayFormat(journal::RegionalFormats::timeFormat());
        time->setTime(QTime(20, 26, 38)); // what both show until the user or a record changes them
    }
    activeFinishDate(ui->CheckBox1->isChecked());
    journal::nameControlsForAccessibility(this);

    connect(ui->CheckBox1, &QCheckBox::toggled, this, &TForm8::activeFinishDate);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm8::BitBtn1Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm8::closeEditor);
}

TForm8::~TForm8() = default;

void TForm8::setVisible(bool visible) {
    if (visible)
        FormShow();
    SecondaryWindow::setVisible(visible);
}

void TForm8::reject() {
    closeEditor();
}

void TForm8::upAction(TTypeAction typeAction) {
    switch (typeAction) {
    case TTypeAction::ADD:
        setWindowTitle(QStringLiteral("Добавить запись в журнал"));
        ui->BitBtn1->setText(QStringLiteral("Сохранить"));
        actionCommand = QStringLiteral("save_service");
        recordId = QStringLiteral("0");
        break;
    case TTypeAction::EDIT:
        setWindowTitle(QStringLiteral("Редактировать запись в журнале"));
        ui->BitBtn1->setText(QStringLiteral("Редактировать"));
        actionCommand = QStringLiteral("edit_service");
        break;
    default:
        break; // the editor knows only adding and editing
    }
}

void TForm8::FormShow() {
    clearFields();
    fMachines = journal::ChoiceList(fJournal->JsonMachine(), "Title");
    fRepairmen = journal::ChoiceList(fJournal->JsonRepairman(), "Name");
    ui->ComboBox1->addItems(fMachines.texts());
    ui->ComboBox1->setCurrentIndex(-1);
    ui->ListBox1->addItems(fRepairmen.texts());
    activeFinishDate(ui->CheckBox1->isChecked());
}

void TForm8::clearFields() {
    ui->Memo1->clear();
    ui->ComboBox1->clear();
    ui->ListBox1->clear();
    // Only the dates are renewed: the time pickers keep what they showed at the end of the last use.
    for (QDateTimeEdit* date : {ui->DateTimePicker1, ui->DateTimePicker3})
        date->setDate(QDate::currentDate());
}

void TForm8::activeFinishDate(bool isActive) {
    ui->DateTimePicker3->setEnabled(isActive);
    ui->DateTimePicker4->setEnabled(isActive);
}

void TForm8::editData(const journal::AnswerValue& fieldsService) {
    const journal::ServiceRecord record = journal::readServiceRecord(fieldsService);
    recordId = record.uid;
    for (int i = 0; i < ui->ComboBox1->count(); ++i) {
        if (ui->ComboBox1->itemText(i) == record.machine)
            ui->ComboBox1->setCurrentIndex(i);
    }
    ui->Memo1->appendPlainText(record.description);
    for (int i = 0; i < ui->ListBox1->count(); ++i) {
        QListWidgetItem* line = ui->ListBox1->item(i);
        if (record.repairmen.contains(line->text()))
            line->setSelected(true);
    }
    ui->DateTimePicker1->setDate(record.start.date);
    ui->DateTimePicker2->setTime(record.start.time);
    if (record.finish) {
        ui->DateTimePicker3->setDate(record.finish->date);
        ui->DateTimePicker4->setTime(record.finish->time);
    }
    ui->CheckBox1->setChecked(record.finish.has_value());
}

std::vector<QString> TForm8::getIdsRepairman() const {
    std::vector<int> selected;
    for (int i = 0; i < ui->ListBox1->count(); ++i) {
        if (ui->ListBox1->item(i)->isSelected())
            selected.push_back(i);
    }
    return fRepairmen.idsAt(std::move(selected));
}

void TForm8::BitBtn1Click() {
    const QString description = journal::joinDescription(journal::displayedLines(ui->Memo1));
    const int machine = ui->ComboBox1->currentIndex();
    if (machine < 0 || machine >= fMachines.size()) {
        TErrorMessageServer::View(QStringLiteral("Не выбрано из списка оборудование."), false);
        return;
    }
    journal::ServiceSave save{
        recordId,    actionCommand.toStdString(), fMachines.idAt(machine),
        description, getIdsRepairman(),           {ui->DateTimePicker1->date(), ui->DateTimePicker2->time()},
        std::nullopt};
    if (ui->CheckBox1->isChecked())
        save.finish = journal::DateAndTime{ui->DateTimePicker3->date(), ui->DateTimePicker4->time()};

    journal::runExchange(journal::serviceSaveCommand(save),
                         [this](TRequestServer* Sender) { onSuccessServer(Sender); });
}

void TForm8::onSuccessServer(TRequestServer*) {
    closeEditor();
}

// The next opening is centred over the journal again: SecondaryWindow places every fresh opening.
void TForm8::closeEditor() {
    hide();
    fJournal->updateTableData();
}
