#include "Unit8.h"

#include "ui_Unit8.h"

TForm8::TForm8(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm8>()) {
    ui->setupUi(this);
}

TForm8::~TForm8() = default;

void TForm8::upAction(TTypeAction typeAction) {
    switch (typeAction) {
    case TTypeAction::ADD:
        setWindowTitle(QStringLiteral("Добавить запись в журнал"));
        break;
    case TTypeAction::EDIT:
        setWindowTitle(QStringLiteral("Редактировать запись в журнале"));
        break;
    default:
        break; // the editor knows only adding and editing
    }
}

void TForm8::editData(const nlohmann::ordered_json& /*fieldsService*/) {
    // The inputs that take the record arrive with the editor itself.
}
