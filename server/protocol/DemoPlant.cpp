#include "protocol/DemoPlant.h"

#include "storage/JournalStore.h"

#include <array>
#include <ctime>

namespace journal::protocol {
namespace {

using namespace storage;

struct DemoWorkshop {
    const char* title;
    const char* description;
    Date constructed;
};

struct DemoMachine {
    const char* title;
    const char* description;
    const char* inventory;
    int workshop;
};

constexpr std::array<DemoWorkshop, 4> workshops = {{
    {"Механический цех №1", "Токарная и фрезерная обработка валов и корпусных деталей", {1968, 5, 14}},
    {"Сборочный цех", "Сборка редукторов и испытательный стенд", {1975, 9, 1}},
    {"Инструментальный цех", "Изготовление и заточка режущего инструмента, оснастка", {1981, 3, 20}},
    {"Котельная", "Паровые котлы и насосная станция предприятия", {1964, 11, 7}},
}};

constexpr std::array<DemoMachine, 12> machines = {{
    {"Токарно-винторезный станок 16К20", "Обработка валов до 2 м", "ТС-2", 0},
    {"Токарно-винторезный станок 16К20", "Второй станок участка валов", "ТС-10", 0},
    {"Вертикально-фрезерный станок 6Р12", "Фрезеровка плоскостей и пазов", "ФС-1", 0},
    {"Радиально-сверлильный станок 2М55", "Сверление корпусов", "СС-4", 0},
    {"Кран-балка 5 т", "Подача заготовок на участок", "КБ-1", 1},
    {"Пресс гидравлический П6330", "Запрессовка подшипников", "ПГ-3", 1},
    {"Стенд обкатки редукторов", "Испытание под нагрузкой", "СТ-7", 1},
    {"Заточный станок 3Б642", "Заточка фрез и свёрл", "ЗС-5", 2},
    {"Координатно-расточной станок 2Е450", "Расточка точных отверстий", "КР-1", 2},
    {"Электроэрозионный станок АРТА-120", "Вырезка матриц и пуансонов", "ЭЭ-12", 2},
    {"Паровой котёл ДКВР-10", "Основной котёл", "К-1", 3},
    {"Насос питательный ЦНСГ-60", "Подача воды в котлы", "Н-2", 3},
}};

constexpr std::array<std::array<const char*, 4>, 8> repairmen = {{
    {"Иванов", "Пётр", "Сергеевич", "Слесарь-ремонтник 5 разряда"},
    {"Смирнова", "Ольга", "Викторовна", "Электромонтёр"},
    {"Кузнецов", "Алексей", "Иванович", "Наладчик станков с ЧПУ"},
    {"Ёлкин", "Григорий", "Павлович", "Слесарь-ремонтник 4 разряда"},
    {"Попов", "Дмитрий", "Андреевич", "Электрогазосварщик"},
    {"Васильев", "Николай", "Егорович", "Мастер участка ремонта"},
    {"Иванов", "Пётр", "Сергеевич", "Электромонтёр"},
    {"Фёдорова", "Анна", "Николаевна", "Слесарь КИПиА"},
}};

constexpr std::array<const char*, 10> repairs = {
    "Замена подшипников шпинделя, регулировка зазоров",
    "Ремонт электропривода подачи, замена контактора",
    "Замена ремней главного привода",
    "Плановый осмотр, замена масла в коробке скоростей",
    "Устранение течи гидросистемы, замена уплотнений",
    "Ремонт концевых выключателей",
    "Восстановление направляющих, шабрение",
    "Замена насоса СОЖ",
    "Наладка после аварийной остановки, проверка защит",
    "Сварка трещины кронштейна, покраска",
};

Date daysBeforeToday(int days) {
    std::time_t moment = std::time(nullptr) - static_cast<std::time_t>(days) * 24 * 3600;
    std::tm local{};
    localtime_r(&moment, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool isEmpty(JournalStore& store) {
    return store.workshops({}).empty() && store.machines({}).empty() && store.repairmen({}).empty();
}

void fill(JournalStore& store) {
    std::vector<RecordId> workshopIds;
    for (const DemoWorkshop& workshop : workshops)
        workshopIds.push_back(store.addWorkshop({workshop.title, workshop.description, workshop.constructed}));
    std::vector<RecordId> machineIds;
    for (const DemoMachine& machine : machines)
        machineIds.push_back(
            store.addMachine({machine.title, machine.description, machine.inventory, workshopIds[machine.workshop]}));
    std::vector<RecordId> repairmanIds;
    for (const auto& [surname, name, patronymic, profession] : repairmen)
        repairmanIds.push_back(store.addRepairman({surname, name, patronymic, profession}));

    constexpr int recordCount = 50;
    for (int i = 0; i < recordCount; ++i) {
        ServiceInput service;
        service.machineId = machineIds[(i * 7) % machineIds.size()];
        service.description = repairs[(i * 3) % repairs.size()];
        service.repairmanIds = {repairmanIds[i % repairmanIds.size()]};
        if (i % 3 == 0)
            service.repairmanIds.push_back(repairmanIds[(i + 3) % repairmanIds.size()]);
        const int daysAgo = (recordCount - i) * 3;
        service.start = {daysBeforeToday(daysAgo), {7 + i % 8, (i * 13) % 60, 0}};
        // The latest few repairs are still going on.
        if (i < recordCount - 4)
            service.finish = DateTime{daysBeforeToday(daysAgo - i % 3), {15 + i % 3, (i * 7) % 60, 0}};
        store.addService(service);
    }
}

} // namespace

bool fillDemoPlant(ConnectionPool& database) {
    auto connection = database.acquire();
    JournalStore store(*connection);
    connection->begin(true);
    try {
        const bool empty = isEmpty(store);
        if (empty)
            fill(store);
        connection->commit();
        return empty;
    } catch (...) {
        connection->rollback();
        throw;
    }
}

} // namespace journal::protocol
