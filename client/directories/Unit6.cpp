#include "Unit6.h"

#include "ui_Unit6.h"

TForm6::TForm6(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm6>()) {
    ui->setupUi(this);
}

TForm6::~TForm6() = default;
