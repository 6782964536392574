#pragma once

#include <QString>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// What the three directories and their editors are expected to show and send, kind by kind.
struct SortGroup {
    QString title;
    QString first;  // sends "desc"
    QString second; // sends "asc"
    std::string field;
};

using InputTexts = std::vector<std::pair<const char*, QString>>;

struct FamilyCase {
    const char* name;
    const char* directory;
    const char* editor;
    const char* opener;       // the journal window's button
    const char* menuItem;     // and its menu item
    std::string answerBefore; // a list answer is answerBefore + records + answerAfter
    std::string answerAfter;
    std::string twoRecords;
    std::string oneRecord;
    std::string firstId;  // of the first of the two records
    std::string listBody; // byte for byte
    std::string listCommand, searchCommand, sortCommand, deleteCommand;
    QString firstRowQuestion;  // the delete question for the first row
    QString secondRowQuestion; // ... and for the second, whose name is empty
    std::vector<SortGroup> sortTree;
    QString addCaption, editCaption, viewCaption;
    InputTexts firstRowInputs; // the inputs after editing the first row
    std::string firstRowEdit;  // OK then sends
    std::string secondRowEdit; // ... and for the second row
    std::vector<const char*> lockedInView;
    std::vector<const char*> usableInView;
    InputTexts typed;      // typed into the empty editor for adding
    std::string typedSave; // OK then sends; "{today}" stands for today's date

    std::string answer(const std::string& records) const { return answerBefore + records + answerAfter; }

    friend void PrintTo(const FamilyCase& c, std::ostream* out) { *out << c.name; }
};

inline const QString kAlphabetDown = QStringLiteral("С конца алфавита");
inline const QString kAlphabetUp = QStringLiteral("С начала алфавита");
inline const QString kLatestFirst = QStringLiteral("С поздней даты");
inline const QString kEarliestFirst = QStringLiteral("С ранней даты");
inline const QString kLarger = QStringLiteral("Больше");
inline const QString kSmaller = QStringLiteral("Меньше");

inline const FamilyCase kMachines{
    "machines",
    "TForm2",
    "TForm3",
    "BitBtn1",
    "N6",
    R"({"success":true,"data":{"machine":)",
    R"(,"workshop":[{"Id":"7","Title":"Цех 1"},{"Id":"8","Title":"Цех 2"}]}})",
    R"([{"Id":"11","Title":"Станок","Description":"  Токарный  ","Inventory":"ИН-1","TitleWorkshop":"Цех 2",)"
    R"("AtCreate":"01.02.2026 08:00:00","AtUpdate":"02.02.2026 09:00:00"},)"
    R"({"Id":"12","Title":"","Description":"Фрезерный","Inventory":"ИН-2","TitleWorkshop":"Цех 1"}])",
    R"([{"Id":"13","Title":"Пресс"}])",
    "11",
    "data=%7B%22command%22%3A%22all_machine%22%7D&key=QmWrTsXnPdKa",
    "all_machine",
    "search_machine",
    "sort_machine",
    "delete_machine",
    "Вы желаете удалить Станок?",
    "Вы желаете удалить ?",
    {{"Идентификатор", kLarger, kSmaller, "m.Id"},
     {"Название", kAlphabetDown, kAlphabetUp, "m.Title"},
     {"Описание", kAlphabetDown, kAlphabetUp, "m.Description"},
     {"Инвентарный номер", kLarger, kSmaller, "m.Inventory"},
     {"Цех (корпус)", kAlphabetDown, kAlphabetUp, "w.Title"},
     {"Дата создания", kLatestFirst, kEarliestFirst, "AtCreate"},
     {"Дата изменения", kLatestFirst, kEarliestFirst, "AtUpdate"}},
    "Добавить оборудование",
    "Редактировать оборудование",
    "Просмотр оборудования",
    {{"Edit1", "Станок"}, {"Memo1", "Токарный"}, {"Edit2", "ИН-1"}, {"ComboBox1", "Цех 2"}},
    R"({"command":"edit_machine","name_machine":"Станок","description_machine":" Токарный",)"
    R"("inventory_machine":"ИН-1","id_workshop":"8","id_machine":"11"})",
    R"({"command":"edit_machine","name_machine":"","description_machine":" Фрезерный",)"
    R"("inventory_machine":"ИН-2","id_workshop":"7","id_machine":"12"})",
    {"Edit1", "Memo1", "Edit2", "ComboBox1"},
    {},
    {{"Edit1", " Пресс "}, {"Memo1", "a\nb"}, {"Edit2", " ИН 3"}, {"ComboBox1", "Цех 1"}},
    R"({"command":"save_machine","name_machine":" Пресс ","description_machine":" a b",)"
    R"("inventory_machine":" ИН 3","id_workshop":"7","id_machine":"0"})",
};

inline const FamilyCase kWorkshops{
    "workshops",
    "TForm4",
    "TForm5",
    "BitBtn2",
    "N7",
    R"({"success":true,"data":)",
    "}",
    R"([{"Id":"21","Title":"Литейный","Description":" Плавка ","AtConstruct":"14.05.1968",)"
    R"("AtCreate":"01.02.2026 08:00:00","AtUpdate":"02.02.2026 09:00:00"},)"
    R"({"Id":"22","Title":"","Description":"","AtConstruct":"01.09.1975"}])",
    R"([{"Id":"23","Title":"Склад","AtConstruct":"20.03.1981"}])",
    "21",
    "data=%7B%22command%22%3A%22all_workshop%22%7D&key=QmWrTsXnPdKa",
    "all_workshop",
    "search_workshop",
    "sort_workshop",
    "delete_workshop",
    "Вы желаете удалить Литейный?",
    "Вы желаете удалить ?",
    {{"Идентификатор", kLarger, kSmaller, "id"},
     {"Название", kAlphabetDown, kAlphabetUp, "title"},
     {"Описание", kAlphabetDown, kAlphabetUp, "description"},
     {"Дата постройки", kLatestFirst, kEarliestFirst, "at_construct"},
     {"Дата создания", kLatestFirst, kEarliestFirst, "at_create"},
     {"Дата изменения", kLatestFirst, kEarliestFirst, "at_update"}},
    "Добавить цех (корпус)",
    "Редактировать цех (корпус)",
    "Просмотр цех (корпус)",
    {{"Edit1", "Литейный"}, {"Memo1", "Плавка"}, {"DateTimePicker1", "14.05.1968"}},
    R"({"command":"edit_workshop","id_workshop":"21","name_workshop":"Литейный",)"
    R"("description_workshop":" Плавка","date_workshop":"14.05.1968"})",
    R"({"command":"edit_workshop","id_workshop":"22","name_workshop":"","description_workshop":"",)"
    R"("date_workshop":"01.09.1975"})",
    {"Edit1", "DateTimePicker1"},
    {"Memo1"},
    {{"Edit1", " Новый "}, {"Memo1", "a\nb"}},
    R"({"command":"save_workshop","id_workshop":"0","name_workshop":" Новый ","description_workshop":" a b",)"
    R"("date_workshop":"{today}"})",
};

inline const FamilyCase kRepairmen{
    "repairmen",
    "TForm6",
    "TForm7",
    "BitBtn3",
    "N8",
    R"({"success":true,"data":)",
    "}",
    R"([{"Id":"31","Surname":"Иванов","Name":"Иван","Patronymic":"Иванович","Profession":"Слесарь",)"
    R"("AtCreate":"01.02.2026 08:00:00","AtUpdate":"02.02.2026 09:00:00"},{"Id":"32","Surname":"","Name":"Пётр"}])",
    R"([{"Id":"33","Surname":"Сидоров"}])",
    "31",
    "data=%7B%22command%22%3A%22all_repairman%22%7D&key=QmWrTsXnPdKa",
    "all_repairman",
    "search_repairman",
    "sort_repairman",
    "delete_repairman",
    "Удалить работника Иванов?",
    "Удалить работника ?",
    {{"Идентификатор", kLarger, kSmaller, "id"},
     {"Фамилия", kAlphabetDown, kAlphabetUp, "surname"},
     {"Имя", kAlphabetDown, kAlphabetUp, "name"},
     {"Отчество", kAlphabetDown, kAlphabetUp, "patronymic"},
     {"Профессия", kAlphabetDown, kAlphabetUp, "profession"},
     {"Дата создания", kLatestFirst, kEarliestFirst, "at_create"},
     {"Дата изменения", kLatestFirst, kEarliestFirst, "at_update"}},
    "Добавить работника",
    "Редактировать работника",
    "Просмотр работника",
    {{"Edit1", "Иванов"}, {"Edit2", "Иван"}, {"Edit3", "Иванович"}, {"Edit4", "Слесарь"}},
    R"({"command":"edit_repairman","id_repairman":"31","surname_repairman":"Иванов","name_repairman":"Иван",)"
    R"("patronymic_repairman":"Иванович","profession_repairman":"Слесарь"})",
    R"({"command":"edit_repairman","id_repairman":"32","surname_repairman":"","name_repairman":"Пётр",)"
    R"("patronymic_repairman":"","profession_repairman":""})",
    {"Edit1", "Edit2", "Edit3", "Edit4"},
    {},
    {{"Edit1", " Петров "}, {"Edit3", "Петрович"}, {"Edit4", "Токарь"}},
    R"({"command":"save_repairman","id_repairman":"0","surname_repairman":" Петров ","name_repairman":"",)"
    R"("patronymic_repairman":"Петрович","profession_repairman":"Токарь"})",
};

inline const FamilyCase kFamily[] = {kMachines, kWorkshops, kRepairmen};
