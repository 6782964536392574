#include "Unit4.h"

#include "ui_Unit4.h"

TForm4::TForm4(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm4>()) {
    ui->setupUi(this);
}

TForm4::~TForm4() = default;
