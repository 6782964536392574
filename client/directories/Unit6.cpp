#include "Unit6.h"

#include "ui_Unit6.h"

const journal::DirectoryKind& repairmenDirectory() {
    static const journal::DirectoryKind kind{
        "all_repairman",
        "search_repairman",
        "sort_repairman",
        "delete_repairman",
        "data",
        journal::makeRepairmanTable,
        {{QStringLiteral("Id"), QStringLiteral("Id"), 35},
         {QStringLiteral("Surname"), QStringLiteral("Фамилия"), 110},
         {QStringLiteral("Name"), QStringLiteral("Имя"), 110},
         {QStringLiteral("Patronymic"), QStringLiteral("Отчество"), 110},
         {QStringLiteral("Profession"), QStringLiteral("Профессия"), 110},
         {QStringLiteral("AtCreate"), QStringLiteral("Дата создания"), 120},
         {QStringLiteral("AtUpdate"), QStringLiteral("Дата изменения"), 120}},
        {QStringLiteral("Id"), QStringLiteral("Surname"), QStringLiteral("Name"), QStringLiteral("Patronymic"),
         QStringLiteral("Profession")},
        QStringLiteral("Surname"),
        QStringLiteral("Удалить работника "),
        {{"N4", "id", "desc"},
         {"N5", "id", "asc"},
         {"N7", "surname", "desc"},
         {"N8", "surname", "asc"},
         {"N10", "name", "desc"},
         {"N11", "name", "asc"},
         {"N13", "patronymic", "desc"},
         {"N14", "patronymic", "asc"},
         {"N16", "profession", "desc"},
         {"N17", "profession", "asc"},
         {"N19", "at_create", "desc"},
         {"N20", "at_create", "asc"},
         {"N22", "at_update", "desc"},
         {"N23", "at_update", "asc"}},
    };
    return kind;
}

TForm6::TForm6(journal::JournalWindow* journal)
    : DirectoryWindow(journal, repairmenDirectory()) {
    setUpDirectory(ui);
}

TForm6::~TForm6() = default;
