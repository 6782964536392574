#include "Unit5.h"

#include "ui_Unit5.h"

using journal::Slot;

// The memo is not locked for viewing; nothing typed there is sent, as OK only closes.
const journal::EditorKind& workshopEditorKind() {
    static const journal::EditorKind kind{
        {QStringLiteral("Добавить цех (корпус)"), "save_workshop"},
        {QStringLiteral("Редактировать цех (корпус)"), "edit_workshop"},
        {QStringLiteral("Просмотр цех (корпус)"), "view_workshop"},
        {{"id_workshop", Slot::RecordId},
         {"name_workshop", Slot::Edit1},
         {"description_workshop", Slot::Description},
         {"date_workshop", Slot::Date}},
        {Slot::RecordId, Slot::Edit1, Slot::Description, Slot::Date},
        true,
        false,
    };
    return kind;
}

TForm5::TForm5(QWidget* mainWindow, QWidget* directory)
    : DirectoryEditor(mainWindow, directory, workshopEditorKind())
    , ui(std::make_unique<Ui::TForm5>()) {
    ui->setupUi(this);
    setUpEditor({{ui->Edit1}, ui->Memo1, nullptr, ui->DateTimePicker1, ui->BitBtn1, ui->BitBtn2});
}

TForm5::~TForm5() = default;
