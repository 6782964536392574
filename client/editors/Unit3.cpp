#include "Unit3.h"

#include "ui_Unit3.h"

TForm3::TForm3(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm3>()) {
    ui->setupUi(this);
}

TForm3::~TForm3() = default;
