#include "Unit7.h"

#include "ui_Unit7.h"

using journal::Slot;

const journal::EditorKind& repairmanEditorKind() {
    static const journal::EditorKind kind{
        {QStringLiteral("Добавить работника"), "save_repairman"},
        {QStringLiteral("Редактировать работника"), "edit_repairman"},
        {QStringLiteral("Просмотр работника"), "view_repairman"},
        {{"id_repairman", Slot::RecordId},
         {"surname_repairman", Slot::Edit1},
         {"name_repairman", Slot::Edit2},
         {"patronymic_repairman", Slot::Edit3},
         {"profession_repairman", Slot::Edit4}},
        {Slot::RecordId, Slot::Edit1, Slot::Edit2, Slot::Edit3, Slot::Edit4},
        true,
        false,
    };
    return kind;
}

TForm7::TForm7(QWidget* mainWindow, QWidget* directory)
    : DirectoryEditor(mainWindow, directory, repairmanEditorKind())
    , ui(std::make_unique<Ui::TForm7>()) {
    ui->setupUi(this);
    setUpEditor({{ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4}, nullptr, nullptr, nullptr, ui->BitBtn1, ui->BitBtn2});
}

TForm7::~TForm7() = default;
