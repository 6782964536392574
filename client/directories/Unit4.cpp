#include "Unit4.h"

#include "ui_Unit4.h"

const journal::DirectoryKind& workshopsDirectory() {
    static const journal::DirectoryKind kind{
        "all_workshop",
        "search_workshop",
        "sort_workshop",
        "delete_workshop",
        "data",
        journal::makeWorkshopTable,
        {{QStringLiteral("Id"), QStringLiteral("Id"), 35},
         {QStringLiteral("Title"), QStringLiteral("Название"), 130},
         {QStringLiteral("Description"), QStringLiteral("Описание"), 160},
         {QStringLiteral("AtConstruct"), QStringLiteral("Дата постройки"), 130},
         {QStringLiteral("AtCreate"), QStringLiteral("Дата создания"), 130},
         {QStringLiteral("AtUpdate"), QStringLiteral("Дата изменения"), 130}},
        {QStringLiteral("Id"), QStringLiteral("Title"), QStringLiteral("Description"), QStringLiteral("AtConstruct")},
        QStringLiteral("Title"),
        QStringLiteral("Вы желаете удалить "),
        {{"N9", "id", "desc"},
         {"N10", "id", "asc"},
         {"N11", "title", "desc"},
         {"N12", "title", "asc"},
         {"N13", "description", "desc"},
         {"N14", "description", "asc"},
         {"N15", "at_construct", "desc"},
         {"N16", "at_construct", "asc"},
         {"N17", "at_create", "desc"},
         {"N18", "at_create", "asc"},
         {"N19", "at_update", "desc"},
         {"N20", "at_update", "asc"}},
    };
    return kind;
}

TForm4::TForm4(journal::JournalWindow* journal)
    : DirectoryWindow(journal, workshopsDirectory()) {
    setUpDirectory(ui);
}

TForm4::~TForm4() = default;
