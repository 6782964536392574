#include "Unit3.h"

#include "ErrorMessageServer.h"
#include "WorkshopList.h"
#include "ui_Unit3.h"

using journal::Slot;

const journal::EditorKind& machineEditorKind() {
    static const journal::EditorKind kind{
        {QStringLiteral("Добавить оборудование"), "save_machine"},
        {QStringLiteral("Редактировать оборудование"), "edit_machine"},
        {QStringLiteral("Просмотр оборудования"), "view_machine"},
        {{"name_machine", Slot::Edit1},
         {"description_machine", Slot::Description},
         {"inventory_machine", Slot::Edit2},
         {"id_workshop", Slot::Workshop},
         {"id_machine", Slot::RecordId}},
        {Slot::RecordId, Slot::Edit1, Slot::Description, Slot::Edit2, Slot::Workshop},
        false,
        true,
    };
    return kind;
}

TForm3::TForm3(QWidget* mainWindow, QWidget* directory, const journal::WorkshopList& workshops)
    : DirectoryEditor(mainWindow, directory, machineEditorKind())
    , ui(std::make_unique<Ui::TForm3>())
    , fDirectoryWorkshops(workshops) {
    ui->setupUi(this);
    setUpEditor({{ui->Edit1, ui->Edit2}, ui->Memo1, ui->ComboBox1, nullptr, ui->BitBtn1, ui->BitBtn2});
}

TForm3::~TForm3() = default;

void TForm3::fillChoices() {
    fWorkshops = journal::ChoiceList(fDirectoryWorkshops.JsonWorkshop(), "Title");
    ui->ComboBox1->addItems(fWorkshops.texts());
    ui->ComboBox1->setCurrentIndex(-1);
}

bool TForm3::completeValues(journal::EditorValues& values) {
    const int chosen = ui->ComboBox1->currentIndex();
    if (chosen < 0 || chosen >= fWorkshops.size()) {
        TErrorMessageServer::View(QStringLiteral("Не выбран из списка цех (корпус)."), false);
        return false;
    }
    workshopId = fWorkshops.idAt(chosen);
    values.workshopId = workshopId;
    return true;
}
