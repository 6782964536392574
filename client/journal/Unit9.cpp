#include "Unit9.h"

#include "ui_Unit9.h"

TForm9::TForm9(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm9>()) {
    ui->setupUi(this);
}

TForm9::~TForm9() = default;
