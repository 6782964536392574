#include "Unit2.h"

#include "ui_Unit2.h"

TForm2::TForm2(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm2>()) {
    ui->setupUi(this);
}

TForm2::~TForm2() = default;
