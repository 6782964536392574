#include "JsonLoad.h"
#include "JsonText.h"
#include "WireFormat.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// An "all_service" answer of the given number of journal records, as the server sends it.
std::string journalAnswer(int records) {
    journal::Json data = journal::Json::array();
    for (int i = 0; i < records; ++i) {
        data.push_back({{"Id", std::to_string(i + 1)},
                        {"MachineTitle", "Токарный станок 16К20 №" + std::to_string(i % 500)},
                        {"WorkshopTitle", "Корпус " + std::to_string(i % 12)},
                        {"Description", " Замена подшипника шпинделя, регулировка зазоров, проверка на холостом ходу"},
                        {"Repairman", "Иванов И. И., Петров П. П."},
                        {"TimeStart", "10.12.2026 08:30:00"},
                        {"TimeFinish", i % 3 == 0 ? journal::Json(nullptr) : journal::Json("10.12.2026 16:45:00")}});
    }
    return journal::wireJson({{"success", true}, {"data", std::move(data)}});
}

void ParseAnswer(benchmark::State& state) {
    const std::string body = journalAnswer(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(journal::parseJson(body));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(body.size()));
}

void ReloadJournalTable(benchmark::State& state) {
    const journal::Json answer = journal::parseJson(journalAnswer(static_cast<int>(state.range(0))));
    journal::RecordTable table = journal::makeServiceTable();
    for (auto _ : state) {
        journal::reloadTable(table, journal::findPath(answer, "data"));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The road through text that reloadTable spares: the list written as ASCII JSON and parsed again.
void ReloadThroughAsciiText(benchmark::State& state) {
    const journal::Json answer = journal::parseJson(journalAnswer(static_cast<int>(state.range(0))));
    journal::RecordTable table = journal::makeServiceTable();
    table.open();
    for (auto _ : state) {
        table.emptyTable();
        fillFromJson(table, journal::asciiJson(answer.at("data")));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(ParseAnswer)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReloadJournalTable)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReloadThroughAsciiText)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
