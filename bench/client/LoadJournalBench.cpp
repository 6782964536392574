// A list answer from its bytes to a shown, filled grid, two ways on the same bytes in the same run: the client's
// road (one parse, the table referring into the kept answer, the grid painting what it shows) and the plain Qt way
// (QJsonDocument, a QStandardItemModel, a QTableView). Prints the median times, their ratio and each road's peak
// memory over the step as a multiple of the answer's size.
//
//   QT_QPA_PLATFORM=offscreen build/ci/bench/client/client_bench [records]
#include "AnswerReading.h"
#include "DataSource.h"
#include "GridBinding.h"
#include "JsonLoad.h"
#include "JsonText.h"
#include "WireFormat.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using journal::Json;
using Clock = std::chrono::steady_clock;

// What the server sends for the journal ("all_service").
std::string journalAnswer(int records) {
    Json data = Json::array();
    for (int i = 0; i < records; ++i) {
        data.push_back({{"Id", std::to_string(i + 1)},
                        {"MachineTitle", "Токарный станок 16К20 №" + std::to_string(i % 500)},
                        {"WorkshopTitle", "Корпус " + std::to_string(i % 12)},
                        {"Description", "Замена подшипника шпинделя, регулировка зазоров, проверка на холостом ходу"},
                        {"Repairman", "Иванов И. И., Петров П. П."},
                        {"TimeStart", "10.12.2026 08:30:00"},
                        {"TimeFinish", i % 3 == 0 ? std::string() : std::string("10.12.2026 16:45:00")}});
    }
    return journal::wireJson({{"success", true}, {"data", std::move(data)}});
}

// What the server sends for the machines directory: the machines and the workshops their editor offers.
std::string machinesAnswer(int machines) {
    Json list = Json::array();
    for (int i = 0; i < machines; ++i) {
        list.push_back({{"Id", std::to_string(i + 1)},
                        {"Title", "Токарно-винторезный станок 16К20 №" + std::to_string(i)},
                        {"Description", "Межцентровое расстояние 1000 мм, наибольший диаметр обработки 400 мм"},
                        {"Inventory", "ТС-" + std::to_string(i)},
                        {"TitleWorkshop", "Механический цех " + std::to_string(i % 12)},
                        {"AtCreate", "01.02.2026 09:15:00"},
                        {"AtUpdate", "03.04.2026 10:20:30"}});
    }
    Json workshops = Json::array();
    for (int i = 0; i < 12; ++i)
        workshops.push_back({{"Id", std::to_string(i + 1)}, {"Title", "Механический цех " + std::to_string(i)}});
    return journal::wireJson({{"success", true}, {"data", {{"machine", std::move(list)}, {"workshop", workshops}}}});
}

struct ListKind {
    const char* name;
    std::string (*answer)(int);
    journal::RecordTable (*makeTable)();
    const char* listPath;
};

std::vector<journal::GridColumn> columnsOf(const journal::RecordTable& table) {
    std::vector<journal::GridColumn> columns;
    for (const journal::FieldDef& field : table.fields())
        columns.push_back({field.name, field.name, 120});
    return columns;
}

// Shows the grid and paints it now, as the user would first see it.
void showAndPaint(QTableView& grid) {
    grid.resize(1000, 600);
    grid.show();
    grid.viewport()->repaint();
}

// One road, from the bytes to the painted grid; whatever it builds lives until the road is dropped.
class Road {
public:
    virtual ~Road() = default;
    virtual void run(std::string bytes) = 0; // the bytes as they arrived, handed over
};

class ClientRoad final : public Road {
public:
    explicit ClientRoad(const ListKind& kind)
        : fKind(kind)
        , fTable(kind.makeTable())
        , fSource(fTable, columnsOf(fTable), nullptr) {
        journal::bindGrid(fSource, &fGrid, &fMenu);
    }

    void run(std::string bytes) override {
        journal::ChannelAnswer answer = journal::readAnswerBody(std::move(bytes));
        fKeptWorkshops = journal::arrayAt(*answer.success, "data.workshop"); // as the machines directory keeps it
        journal::reloadTable(fTable, journal::findPath(*answer.success, fKind.listPath));
        showAndPaint(fGrid);
    }

private:
    const ListKind& fKind;
    journal::RecordTable fTable;
    journal::DataSource fSource;
    QTableView fGrid;
    QMenu fMenu;
    std::optional<journal::AnswerValue> fKeptWorkshops;
};

class PlainQtRoad final : public Road {
public:
    explicit PlainQtRoad(const ListKind& kind)
        : fKind(kind) {}

    void run(std::string bytes) override {
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), bytes.size()));
        QJsonValue list = document.object();
        for (const QString& step : QString(fKind.listPath).split('.'))
            list = list.toObject().value(step);
        const QJsonArray records = list.toArray();
        const journal::RecordTable table = fKind.makeTable();
        fModel.clear();
        fModel.setColumnCount(static_cast<int>(table.fields().size()));
        fModel.setRowCount(static_cast<int>(records.size()));
        int row = 0;
        for (const QJsonValue& record : records) {
            const QJsonObject fields = record.toObject();
            for (int column = 0; column < fModel.columnCount(); ++column) {
                const QString& name = table.fields()[static_cast<std::size_t>(column)].name;
                fModel.setItem(row, column, new QStandardItem(fields.value(name).toString()));
            }
            ++row;
        }
        fGrid.setModel(&fModel);
        showAndPaint(fGrid);
    }

private:
    const ListKind& fKind;
    QStandardItemModel fModel;
    QTableView fGrid;
};

// The bytes as the channel receives them: with room for the parser's padding behind them.
std::string arrived(const std::string& bytes) {
    std::string received;
    received.reserve(bytes.size() + simdjson::SIMDJSON_PADDING);
    received = bytes;
    return received;
}

long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return -1;
}

// Peak resident memory added by one run over what was resident before it (the answer's bytes already were).
// Memory that earlier runs freed goes back to the system first, so the run cannot hide in it.
double peakMegabytesOfRun(Road& road, const std::string& bytes) {
    std::string received = arrived(bytes);
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to the current size
    const long before = statusKilobytes("VmRSS:");
    road.run(std::move(received));
    return static_cast<double>(statusKilobytes("VmHWM:") - before) / 1024.0;
}

double medianMilliseconds(const std::function<std::unique_ptr<Road>()>& makeRoad, const std::string& bytes, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const std::unique_ptr<Road> road = makeRoad();
        std::string received = arrived(bytes);
        const auto start = Clock::now();
        road->run(std::move(received));
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void compare(const ListKind& kind, int records, int runs) {
    const std::string bytes = kind.answer(records);
    const double megabytes = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
    const auto client = [&] { return std::make_unique<ClientRoad>(kind); };
    const auto plainQt = [&] { return std::make_unique<PlainQtRoad>(kind); };

    client()->run(bytes); // the parser's buffers are made once per program, by its first answer
    const double clientTime = medianMilliseconds(client, bytes, runs);
    const double plainTime = medianMilliseconds(plainQt, bytes, runs);
    const double clientPeak = peakMegabytesOfRun(*client(), bytes);
    const double plainPeak = peakMegabytesOfRun(*plainQt(), bytes);
    std::printf("%-9s %7d records, answer %6.1f MB | client %8.2f ms, plain Qt %8.2f ms, %5.1f times faster | "
                "peak over the step: client %6.1f MB (%.2f x answer), plain Qt %6.1f MB (%.2f x answer)\n",
                kind.name, records, megabytes, clientTime, plainTime, plainTime / clientTime, clientPeak,
                clientPeak / megabytes, plainPeak, plainPeak / megabytes);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int largest = argc > 1 ? std::stoi(argv[1]) : 100000;
    const ListKind journalList{"journal", journalAnswer, journal::makeServiceTable, "data"};
    const ListKind machineList{"machines", machinesAnswer, journal::makeMachineTable, "data.machine"};
    const std::string first = journalAnswer(largest);
    const double firstPeak = peakMegabytesOfRun(*std::make_unique<ClientRoad>(journalList), first);
    std::printf("the program's first answer, %d journal records: the parser makes its buffers, peak %.1f MB "
                "(%.2f x answer)\n",
                largest, firstPeak, firstPeak * 1024.0 * 1024.0 / static_cast<double>(first.size()));
    for (const ListKind* kind : {&journalList, &machineList}) {
        for (int records : {1000, 10000, largest})
            compare(*kind, records, records >= 100000 ? 7 : 21);
    }
    return 0;
}
