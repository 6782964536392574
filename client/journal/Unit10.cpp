#include "Unit10.h"

#include "Accessibility.h"
#include "ui_Unit10.h"

namespace {

// The form can only size fonts in points; these lines are sized in pixels.
void setPixelSize(QWidget* label, int pixels) {
    QFont font = label->font();
    font.setPixelSize(pixels);
    label->setFont(font);
}

} // namespace

TForm10::TForm10(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm10>()) {
    ui->setupUi(this);
    setPixelSize(ui->Label1, 13);
    for (QWidget* line : {ui->Label2, ui->Label3, ui->Label4})
        setPixelSize(line, 12);
    journal::nameControlsForAccessibility(this);
}

TForm10::~TForm10() = default;
