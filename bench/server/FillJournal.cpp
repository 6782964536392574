// Fills an empty journal database with a generated plant, fast enough for 100,000 records on either engine:
//   server_bench_fill LOCATION RECORDS MACHINES
// LOCATION is the server's --database. Rows go in by many-row INSERTs with their ids, which keeps PostgreSQL from a
// round trip per row; the id sequences are moved past them so the server can still add records.
#include "storage/ConnectionPool.h"
#include "text/DateTimeFormat.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace journal;

constexpr int workshopCount = 20;
constexpr int repairmanCount = 50;
constexpr int rowsPerInsert = 1000;

const std::vector<std::string> models = {"токарный 16К20", "фрезерный 6Р82", "сверлильный 2Н135", "шлифовальный 3Г71",
                                         "долбёжный 7417", "Ёлочный пресс",  "строгальный 7307",  "расточной 2А620"};
const std::vector<std::string> works = {"Замена подшипников шпинделя", "регулировка зазоров", "смазка направляющих",
                                        "ремонт коробки скоростей",    "замена ремня",        "юстировка суппорта",
                                        "чистка «СОЖ»-бака",           "проверка \"нуля\""};
const std::vector<std::string> surnames = {"Иванов", "Петров", "Сидоров", "Ёлкин", "Абрамов", "Яковлев", "Жуков"};

std::string quoted(const std::string& text) {
    std::string literal = "'";
    for (const char c : text)
        literal += c == '\'' ? std::string("''") : std::string(1, c);
    return literal + "'";
}

std::string pick(const std::vector<std::string>& list, long long i) {
    return list[static_cast<std::size_t>(i % static_cast<long long>(list.size()))];
}

// Inserts the VALUES tuples `row(i)` makes for i = 1..count (an empty one is left out), rowsPerInsert a statement.
template <typename Row>
void insertRows(storage::SqlConnection& sql, const std::string& head, long long count, Row row) {
    for (long long first = 1; first <= count; first += rowsPerInsert) {
        std::string values;
        for (long long i = first; i < first + rowsPerInsert && i <= count; ++i) {
            if (const std::string tuple = row(i); !tuple.empty())
                values += (values.empty() ? "(" : ",(") + tuple + ")";
        }
        if (!values.empty())
            sql.execute(head + " VALUES " + values);
    }
}

std::string stamp(long long i) {
    return quoted(
        toIso(DateTime{{2015 + static_cast<int>(i % 10), 1 + static_cast<int>(i % 12), 1 + static_cast<int>(i % 28)},
                       {static_cast<int>(i % 24), static_cast<int>(i % 60), static_cast<int>(i * 7 % 60)}}));
}

void fill(storage::SqlConnection& sql, long long records, long long machines) {
    insertRows(sql, "INSERT INTO workshop (id, title, description, at_construct, at_create, at_update)", workshopCount,
               [](long long i) {
                   return std::to_string(i) + "," + quoted("Цех №" + std::to_string(i)) + ",'Корпус " +
                          std::to_string(i % 3 + 1) + "','19" + std::to_string(70 + i) + "-01-01'," + stamp(i) + "," +
                          stamp(i + 1);
               });
    insertRows(sql, "INSERT INTO machine (id, title, description, inventory, workshop_id, at_create, at_update)",
               machines, [](long long i) {
                   return std::to_string(i) + "," + quoted("Станок " + pick(models, i * 7) + " №" + std::to_string(i)) +
                          "," + quoted("Описание станка: " + pick(works, i) + ", " + pick(works, i / 8)) + "," +
                          quoted("ИН-" + std::to_string(i * 37 % 100000)) + "," +
                          std::to_string(i % workshopCount + 1) + "," + stamp(i) + "," + stamp(i * 3);
               });
    insertRows(sql, "INSERT INTO repairman (id, surname, name, patronymic, profession, at_create, at_update)",
               repairmanCount, [](long long i) {
                   return std::to_string(i) + "," + quoted(pick(surnames, i) + std::to_string(i)) +
                          ",'Пётр','Сергеевич','Слесарь-ремонтник'," + stamp(i) + "," + stamp(i);
               });
    insertRows(sql, "INSERT INTO service (id, machine_id, description, start_at, finish_at)", records,
               [machines](long long i) {
                   const std::string start = toIso(DateTime{
                       {2000 + static_cast<int>(i % 25), 1 + static_cast<int>(i % 12), 1 + static_cast<int>(i % 28)},
                       {8, static_cast<int>(i % 60), 0}});
                   const std::string finish = i % 10 == 0 ? "NULL" : quoted(start.substr(0, 10) + " 17:00:00");
                   return std::to_string(i) + "," + std::to_string(i * 13 % machines + 1) + "," +
                          quoted(pick(works, i * 5) + ", " + pick(works, i * 3 + 1) + ", " + pick(works, i / 7) +
                                 (i % 97 == 0 ? "\nвторая строка\t\\ конец" : "") + ", запись " + std::to_string(i)) +
                          "," + quoted(start) + "," + finish;
               });
    // One to three repairmen a record, in the order they were chosen.
    for (int position = 0; position < 3; ++position) {
        insertRows(sql, "INSERT INTO service_repairman (service_id, repairman_id, position)", records,
                   [position](long long i) {
                       if (position > i % 3)
                           return std::string();
                       return std::to_string(i) + "," + std::to_string((i + position * 17) % repairmanCount + 1) + "," +
                              std::to_string(position);
                   });
    }
    if (sql.dialect() == storage::SqlDialect::Postgres) {
        for (const char* table : {"workshop", "machine", "repairman", "service"})
            sql.query(std::string("SELECT setval(pg_get_serial_sequence('") + table + "', 'id'), MAX(id)) FROM " +
                          table + " HAVING MAX(id) IS NOT NULL",
                      {});
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: server_bench_fill LOCATION RECORDS MACHINES\n";
        return 2;
    }
    const long long records = std::atoll(argv[2]);
    const long long machines = std::atoll(argv[3]);
    if (records < 0 || machines < 1) {
        std::cerr << "server_bench_fill: RECORDS must be 0 or more and MACHINES 1 or more\n";
        return 2;
    }
    try {
        const auto database = storage::openDatabase(argv[1]);
        auto connection = database->acquire();
        if (!connection->query("SELECT 1 FROM workshop LIMIT 1", {}).empty()) {
            std::cerr << "server_bench_fill: the database is not empty\n";
            return 1;
        }
        connection->begin(true);
        fill(*connection, records, machines);
        connection->commit();
    } catch (const std::exception& error) {
        std::cerr << "server_bench_fill: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
