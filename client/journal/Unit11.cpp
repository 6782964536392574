#include "Unit11.h"

#include "ui_Unit11.h"

TForm11::TForm11(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm11>()) {
    ui->setupUi(this);
}

TForm11::~TForm11() = default;

void TForm11::showData(const nlohmann::ordered_json& /*data*/) {
    // The value labels and memos that show the record arrive with the window itself.
}
