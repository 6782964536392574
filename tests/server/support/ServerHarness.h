#pragma once

#include "http/JournalHttpServer.h"
#include "protocol/Protocol.h"
#include "storage/ConnectionPool.h"

#include <filesystem>
#include <httplib.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>

namespace journal::testing {

enum class Backend { Sqlite, Postgres };

std::string backendName(Backend backend);

inline constexpr const char* accessKey = "QmWrTsXnPdKa";
inline constexpr const char* formContentType = "application/x-www-form-urlencoded; charset=utf-8";

// The client's form encoding: letters, digits and *-._ stay, a space becomes '+', every other byte %XX.
std::string formEncoded(std::string_view text);
// The client's body: data first, then key.
std::string formBody(const nlohmann::json& command, std::string_view key = accessKey);

struct RawAnswer {
    int status = 0;
    std::string contentType;
    std::string contentEncoding;
    std::string body;
    nlohmann::json json; // null when the body is no JSON
};

// A real HTTPS server on a free port over a fresh database: a SQLite file in a temporary folder, or a new
// schema of the test PostgreSQL cluster (dropped at the end).
class ServerHarness {
public:
    explicit ServerHarness(Backend backend, std::string_view datePattern = "dd.MM.yyyy",
                           std::string_view timePattern = "HH:mm:ss");
    ~ServerHarness();

    // Sends a command as the client does and returns the parsed answer.
    nlohmann::json send(const nlohmann::json& command) const;
    RawAnswer post(const std::string& body, const std::string& contentType = formContentType,
                   const std::string& path = "/api/index", const httplib::Headers& headers = {}) const;

    // Makes records through the protocol and returns the new record's id.
    std::string addWorkshop(const std::string& title = "Цех №1", const std::string& date = "01.02.1990") const;
    std::string addMachine(const std::string& workshopId, const std::string& title = "Станок 16К20",
                           const std::string& inventory = "ТС-1") const;
    std::string addRepairman(const std::string& surname = "Иванов", const std::string& name = "Пётр",
                             const std::string& profession = "Слесарь") const;
    std::string addService(const std::string& machineId, const std::vector<std::string>& repairmanIds,
                           const std::string& startDate = "10.03.2024",
                           const std::optional<std::string>& finishDate = std::nullopt) const;

    static nlohmann::json saveServiceCommand(const std::string& machineId, const std::vector<std::string>& repairmanIds,
                                             const std::string& startDate,
                                             const std::optional<std::string>& finishDate);

    std::unique_ptr<httplib::SSLClient> newClient() const;
    // Where a client finds the server, and the CA that signs its certificate.
    std::string url() const { return "https://localhost:" + std::to_string(port_) + "/api/index"; }
    const std::filesystem::path& authority() const { return authority_; }
    // The server's own sessions, for tests that change the database behind its back.
    storage::ConnectionPool& database() const { return *database_; }
    // The server's --database; on PostgreSQL its sessions carry the schema's name as application_name.
    const std::string& databaseLocation() const { return location_; }
    const std::string& schema() const { return schema_; }

private:
    std::string newestId(const std::string& listCommand, const char* listMember = nullptr) const;

    Backend backend_;
    std::filesystem::path directory_;
    std::string schema_;
    std::string location_;
    std::unique_ptr<storage::ConnectionPool> database_;
    std::unique_ptr<protocol::Protocol> protocol_;
    std::unique_ptr<http::JournalHttpServer> server_;
    std::filesystem::path authority_;
    int port_ = 0;
    std::thread serving_;
};

} // namespace journal::testing

#include <gtest/gtest.h>

namespace journal::testing {

// A fresh server per test, on the database the test instance names.
class ServerTest : public ::testing::TestWithParam<Backend> {
protected:
    ServerHarness server{GetParam()};
};

} // namespace journal::testing

// Runs a ServerTest suite on SQLite and on PostgreSQL ("Databases/Suite.Test/Sqlite", ".../Postgres").
#define JOURNAL_ON_EVERY_DATABASE(Suite)                                                                               \
    INSTANTIATE_TEST_SUITE_P(                                                                                          \
        Databases, Suite,                                                                                              \
        ::testing::Values(::journal::testing::Backend::Sqlite, ::journal::testing::Backend::Postgres),                 \
        [](const auto& info) { return ::journal::testing::backendName(info.param); })
