#include "Unit2.h"

#include "AnswerReading.h"
#include "ui_Unit2.h"

const journal::DirectoryKind& machinesDirectory() {
    static const journal::DirectoryKind kind{
        "all_machine",
        "search_machine",
        "sort_machine",
        "delete_machine",
        "data.machine",
        journal::makeMachineTable,
        {{QStringLiteral("Id"), QStringLiteral("Id"), 35},
         {QStringLiteral("Title"), QStringLiteral("Название"), 130},
         {QStringLiteral("Description"), QStringLiteral("Описание"), 160},
         // No width of its own: the grid's default for a text of 20 characters.
         {QStringLiteral("Inventory"), QStringLiteral("Инвентарный номер"), 124},
         {QStringLiteral("TitleWorkshop"), QStringLiteral("Цех (корпус)"), 130},
         {QStringLiteral("AtCreate"), QStringLiteral("Дата создания"), 130},
         {QStringLiteral("AtUpdate"), QStringLiteral("Дата изменения"), 130}},
        {QStringLiteral("Id"), QStringLiteral("Title"), QStringLiteral("Description"), QStringLiteral("Inventory"),
         QStringLiteral("TitleWorkshop")},
        QStringLiteral("Title"),
        QStringLiteral("Вы желаете удалить "),
        {{"N4", "m.Id", "desc"},
         {"N5", "m.Id", "asc"},
         {"N7", "m.Title", "desc"},
         {"N8", "m.Title", "asc"},
         {"N10", "m.Description", "desc"},
         {"N11", "m.Description", "asc"},
         {"N13", "m.Inventory", "desc"},
         {"N14", "m.Inventory", "asc"},
         {"N16", "w.Title", "desc"},
         {"N17", "w.Title", "asc"},
         {"N19", "AtCreate", "desc"},
         {"N20", "AtCreate", "asc"},
         {"N22", "AtUpdate", "desc"},
         {"N23", "AtUpdate", "asc"}},
    };
    return kind;
}

TForm2::TForm2(journal::JournalWindow* journal)
    : DirectoryWindow(journal, machinesDirectory()) {
    setUpDirectory(ui);
}

TForm2::~TForm2() = default;

// Replaced by every answer, absent included; present but not a list fails the exchange.
void TForm2::keepFromAnswer(const journal::AnswerValue& answer) {
    fJsonWorkshop = journal::arrayAt(answer, "data.workshop");
}
