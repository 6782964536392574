// Times the journal list with 100,000 records and 1,000 sequential saves, over real HTTPS, on SQLite and on
// PostgreSQL (set JOURNAL_BENCH_POSTGRES_URL, e.g. postgresql://postgres@127.0.0.1:5432/postgres).
#include "http/JournalHttpServer.h"
#include "protocol/Protocol.h"
#include "storage/ConnectionPool.h"
#include "storage/JournalStore.h"
#include "storage/PostgresConnection.h"
#include "tls/LocalCertificates.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <thread>

namespace {

using namespace journal;
using nlohmann::json;

constexpr int journalSize = 100000;
constexpr int sequentialSaves = 1000;
constexpr const char* accessKey = "QmWrTsXnPdKa";

std::string formEncoded(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '*' || c == '-' || c == '.' || c == '_')
            encoded += c;
        else if (c == ' ')
            encoded += '+';
        else
            encoded += {'%', hex[byte >> 4], hex[byte & 15]};
    }
    return encoded;
}

// A server on its own thread over one database, which starts empty.
class BenchServer {
public:
    explicit BenchServer(const std::string& location)
        : directory_(std::filesystem::temp_directory_path() / ("journal-bench-" + std::to_string(::getpid())))
        , database_(storage::openDatabase(location))
        , protocol_(*database_, ServerFormats("dd.MM.yyyy", "HH:mm:ss"), accessKey) {
        const auto certificates = tls::ensureLocalCertificates(directory_ / "tls");
        authority_ = certificates.authority;
        server_ = std::make_unique<http::JournalHttpServer>(protocol_, certificates.certificate, certificates.key);
        port_ = server_->bind("127.0.0.1", 0);
        serving_ = std::thread([this] { server_->serve(); });
        while (!server_->isServing())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    ~BenchServer() {
        server_->stop();
        serving_.join();
        std::filesystem::remove_all(directory_);
    }

    // One command on a fresh connection, as the client sends it.
    json send(const json& command) const {
        httplib::SSLClient client("localhost", port_);
        client.set_ca_cert_path(authority_.c_str());
        client.enable_server_certificate_verification(true);
        client.set_read_timeout(120, 0);
        const std::string body = "data=" + formEncoded(command.dump()) + "&key=" + accessKey;
        const auto result = client.Post("/api/index", {{"Accept-Encoding", "UTF-8"}}, body,
                                        "application/x-www-form-urlencoded; charset=utf-8");
        if (!result)
            throw std::runtime_error("no answer");
        return json::parse(result->body);
    }

    storage::ConnectionPool& database() { return *database_; }

private:
    std::filesystem::path directory_;
    std::unique_ptr<storage::ConnectionPool> database_;
    protocol::Protocol protocol_;
    std::unique_ptr<http::JournalHttpServer> server_;
    std::filesystem::path authority_;
    int port_ = 0;
    std::thread serving_;
};

// Loads a plant straight into the database: 8 workshops, 200 machines, 50 repairmen, `records` journal records.
std::pair<storage::RecordId, storage::RecordId> fillPlant(storage::ConnectionPool& database, int records) {
    auto connection = database.acquire();
    storage::JournalStore store(*connection);
    connection->begin(true);
    std::vector<storage::RecordId> workshops, machines, repairmen;
    for (int i = 0; i < 8; ++i)
        workshops.push_back(store.addWorkshop({"Цех №" + std::to_string(i + 1), "Корпус", {1970 + i, 1, 1}}));
    for (int i = 0; i < 200; ++i)
        machines.push_back(store.addMachine({"Станок " + std::to_string(i), "Описание станка",
                                             "ИН-" + std::to_string(i), workshops[i % workshops.size()]}));
    for (int i = 0; i < 50; ++i)
        repairmen.push_back(store.addRepairman({"Фамилия" + std::to_string(i), "Имя", "Отчество", "Слесарь"}));
    for (int i = 0; i < records; ++i) {
        storage::ServiceInput service;
        service.machineId = machines[i % machines.size()];
        service.description = "Замена подшипников шпинделя, регулировка зазоров, запись " + std::to_string(i);
        service.repairmanIds = {repairmen[i % repairmen.size()], repairmen[(i + 7) % repairmen.size()]};
        service.start = {{2000 + i % 25, 1 + i % 12, 1 + i % 28}, {8, i % 60, 0}};
        if (i % 10 != 0)
            service.finish = DateTime{service.start.date, {17, 0, 0}};
        store.addService(service);
    }
    connection->commit();
    return {machines.front(), repairmen.front()};
}

std::string location(bool postgres) {
    if (!postgres)
        return "sqlite:" +
               (std::filesystem::temp_directory_path() / ("journal-bench-" + std::to_string(::getpid()) + ".sqlite3"))
                   .string();
    const char* url = std::getenv("JOURNAL_BENCH_POSTGRES_URL");
    if (url == nullptr)
        return {};
    storage::PostgresConnection admin(url);
    admin.execute("DROP SCHEMA IF EXISTS journal_bench CASCADE; CREATE SCHEMA journal_bench");
    return std::string(url) + (std::string_view(url).find('?') == std::string_view::npos ? "?" : "&") +
           "options=-csearch_path%3Djournal_bench";
}

void removeSqliteFiles(const std::string& where) {
    if (!where.starts_with("sqlite:"))
        return;
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(where.substr(7) + suffix);
}

// Unchanged, the journal is answered from the one the server kept; right after a change it is read and written again.
void allService(benchmark::State& state, bool postgres, bool afterChange) {
    const std::string where = location(postgres);
    if (where.empty()) {
        state.SkipWithError("set JOURNAL_BENCH_POSTGRES_URL to time PostgreSQL");
        return;
    }
    {
        BenchServer server(where);
        fillPlant(server.database(), journalSize);
        for (auto _ : state) {
            if (afterChange) {
                state.PauseTiming();
                server.database().acquire()->query("UPDATE workshop SET title = title", {});
                state.ResumeTiming();
            }
            const json answer = server.send({{"command", "all_service"}});
            if (answer.at("data").size() != journalSize)
                state.SkipWithError("the journal lost records");
        }
        state.counters["records"] = journalSize;
    }
    removeSqliteFiles(where);
}

void saveService(benchmark::State& state, bool postgres) {
    const std::string where = location(postgres);
    if (where.empty()) {
        state.SkipWithError("set JOURNAL_BENCH_POSTGRES_URL to time PostgreSQL");
        return;
    }
    {
        BenchServer server(where);
        const auto [machine, repairman] = fillPlant(server.database(), 0);
        const json command = {{"id_service", "0"},
                              {"command", "save_service"},
                              {"id_machine_service", std::to_string(machine)},
                              {"description_service", " Плановый осмотр"},
                              {"ids_repairman_service", json{{"ids_repairman", {std::to_string(repairman)}}}.dump()},
                              {"start_date_service", "10.03.2024"},
                              {"start_time_service", "08:30:00"}};
        for (auto _ : state) {
            for (int i = 0; i < sequentialSaves; ++i)
                if (!server.send(command).contains("success"))
                    state.SkipWithError("a save was refused");
        }
        state.counters["saves"] = sequentialSaves;
    }
    removeSqliteFiles(where);
}

BENCHMARK_CAPTURE(allService, sqlite_100000_records, false, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK_CAPTURE(allService, sqlite_100000_records_after_a_change, false, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK_CAPTURE(allService, postgresql_100000_records, true, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK_CAPTURE(allService, postgresql_100000_records_after_a_change, true, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK_CAPTURE(saveService, sqlite_1000_sequential, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(saveService, postgresql_1000_sequential, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
