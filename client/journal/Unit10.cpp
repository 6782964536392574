#include "Unit10.h"

#include "ui_Unit10.h"

TForm10::TForm10(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm10>()) {
    ui->setupUi(this);
}

TForm10::~TForm10() = default;
