#include "Unit11.h"

#include "Accessibility.h"
#include "JournalRecords.h"
#include "ui_Unit11.h"

#include <QStyle>

TForm11::TForm11(QWidget* mainWindow)
    : SecondaryWindow(mainWindow)
    , ui(std::make_unique<Ui::TForm11>()) {
    ui->setupUi(this);
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    journal::nameControlsForAccessibility(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm11::hideData);
}

TForm11::~TForm11() = default;

void TForm11::showData(const journal::AnswerValue& data) {
    const journal::ServiceView view = journal::readServiceView(data);
    ui->Label7->setText(view.machine);
    ui->Memo1->setPlainText(view.description);
    ui->Memo2->setPlainText(view.repairmen.join(u'\n'));
    ui->Label3->setText(view.start);
    ui->Label8->setText(view.finish);
}

void TForm11::hideData() {
    hide();
    ui->Memo1->clear();
    ui->Memo2->clear();
}

void TForm11::reject() {
    hideData();
}
