#include "Unit9.h"

#include "Accessibility.h"
#include "ui_Unit9.h"

#include <algorithm>

TForm9::TForm9(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm9>()) {
    ui->setupUi(this);
    // The title keeps its look where Verdana is not installed.
    QFont title = ui->Label1->font();
    title.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    ui->Label1->setFont(title);
    // Sized to its text, as a label that sizes itself would be: the wide fallback must not cut it.
    ui->Label1->resize(std::max(ui->Label1->width(), ui->Label1->sizeHint().width()), ui->Label1->height());
    journal::nameControlsForAccessibility(this);
}

TForm9::~TForm9() = default;
