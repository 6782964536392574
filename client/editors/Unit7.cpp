#include "Unit7.h"

#include "ui_Unit7.h"

TForm7::TForm7(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm7>()) {
    ui->setupUi(this);
}

TForm7::~TForm7() = default;
