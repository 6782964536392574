#include "ServerHarness.h"

#include "storage/PostgresConnection.h"
#include "tls/LocalCertificates.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace journal::testing {
namespace {

using nlohmann::json;

std::string postgresBaseUrl() {
    if (const char* url = std::getenv("JOURNAL_TEST_POSTGRES_URL"))
        return url;
    const char* file = std::getenv("JOURNAL_TEST_POSTGRES_URL_FILE");
    std::string url;
    if (file != nullptr)
        std::getline(std::ifstream(file), url);
    if (url.empty())
        throw std::runtime_error("no PostgreSQL for the tests: set JOURNAL_TEST_POSTGRES_URL or run through ctest");
    return url;
}

std::string uniqueSuffix() {
    static std::atomic<int> counter = 0;
    return std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

std::filesystem::path makeTemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "journal-server-test.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary directory");
    return pattern;
}

} // namespace

std::string backendName(Backend backend) {
    return backend == Backend::Sqlite ? "Sqlite" : "Postgres";
}

std::string formEncoded(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '*' || c == '-' || c == '.' || c == '_') {
            encoded += c;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 15];
        }
    }
    return encoded;
}

std::string formBody(const json& command, std::string_view key) {
    return "data=" + formEncoded(command.dump()) + "&key=" + formEncoded(key);
}

ServerHarness::ServerHarness(Backend backend, std::string_view datePattern, std::string_view timePattern)
    : backend_(backend)
    , directory_(makeTemporaryDirectory()) {
    location_ = "sqlite:" + (directory_ / "journal.sqlite3").string();
    if (backend == Backend::Postgres) {
        const std::string base = postgresBaseUrl();
        schema_ = "journal_test_" + uniqueSuffix();
        storage::PostgresConnection(base).execute("CREATE SCHEMA " + schema_);
        // The application name tells this server's sessions from those of tests running beside it.
        location_ = base + (base.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + schema_ +
                    "&application_name=" + schema_;
    }
    database_ = storage::openDatabase(location_);
    protocol_ = std::make_unique<protocol::Protocol>(*database_, ServerFormats(datePattern, timePattern), accessKey);
    const tls::CertificateFiles certificates = tls::ensureLocalCertificates(directory_ / "tls");
    authority_ = certificates.authority;
    server_ = std::make_unique<http::JournalHttpServer>(*protocol_, certificates.certificate, certificates.key);
    port_ = server_->bind("127.0.0.1", 0);
    serving_ = std::thread([this] { server_->serve(); });
    while (!server_->isServing())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ServerHarness::~ServerHarness() {
    server_->stop();
    serving_.join();
    server_.reset();
    protocol_.reset();
    database_.reset();
    if (!schema_.empty())
        storage::PostgresConnection(postgresBaseUrl()).execute("DROP SCHEMA " + schema_ + " CASCADE");
    std::filesystem::remove_all(directory_);
}

std::unique_ptr<httplib::SSLClient> ServerHarness::newClient() const {
    auto client = std::make_unique<httplib::SSLClient>("localhost", port_);
    client->set_ca_cert_path(authority_.c_str());
    client->enable_server_certificate_verification(true);
    client->set_read_timeout(30, 0);
    return client;
}

RawAnswer ServerHarness::post(const std::string& body, const std::string& contentType, const std::string& path,
                              const httplib::Headers& headers) const {
    httplib::Headers sent = headers;
    if (sent.find("Accept-Encoding") == sent.end())
        sent.emplace("Accept-Encoding", "UTF-8");
    const auto result = newClient()->Post(path.c_str(), sent, body, contentType.c_str());
    if (!result)
        throw std::runtime_error("no answer: " + httplib::to_string(result.error()));
    RawAnswer answer;
    answer.status = result->status;
    answer.contentType = result->get_header_value("Content-Type");
    answer.contentEncoding = result->get_header_value("Content-Encoding");
    answer.body = result->body;
    answer.json = json::parse(result->body, nullptr, false);
    return answer;
}

json ServerHarness::send(const json& command) const {
    return post(formBody(command)).json;
}

std::string ServerHarness::newestId(const std::string& listCommand, const char* listMember) const {
    const json answer = send({{"command", listCommand}});
    const json& list = listMember ? answer.at("data").at(listMember) : answer.at("data");
    long newest = 0;
    for (const json& record : list)
        newest = std::max(newest, std::stol(record.at("Id").get<std::string>()));
    return std::to_string(newest);
}

std::string ServerHarness::addWorkshop(const std::string& title, const std::string& date) const {
    const json answer = send({{"command", "save_workshop"},
                              {"id_workshop", "0"},
                              {"name_workshop", title},
                              {"description_workshop", " Корпус"},
                              {"date_workshop", date}});
    EXPECT_TRUE(answer.contains("success")) << answer.dump();
    return newestId("all_workshop");
}

std::string ServerHarness::addMachine(const std::string& workshopId, const std::string& title,
                                      const std::string& inventory) const {
    const json answer = send({{"command", "save_machine"},
                              {"name_machine", title},
                              {"description_machine", " Станок"},
                              {"inventory_machine", inventory},
                              {"id_workshop", workshopId},
                              {"id_machine", "0"}});
    EXPECT_TRUE(answer.contains("success")) << answer.dump();
    return newestId("all_machine", "machine");
}

std::string ServerHarness::addRepairman(const std::string& surname, const std::string& name,
                                        const std::string& profession) const {
    const json answer = send({{"command", "save_repairman"},
                              {"id_repairman", "0"},
                              {"surname_repairman", surname},
                              {"name_repairman", name},
                              {"patronymic_repairman", "Сергеевич"},
                              {"profession_repairman", profession}});
    EXPECT_TRUE(answer.contains("success")) << answer.dump();
    return newestId("all_repairman");
}

json ServerHarness::saveServiceCommand(const std::string& machineId, const std::vector<std::string>& repairmanIds,
                                       const std::string& startDate, const std::optional<std::string>& finishDate) {
    json command = {{"id_service", "0"},
                    {"command", "save_service"},
                    {"id_machine_service", machineId},
                    {"description_service", " Замена подшипника"},
                    {"ids_repairman_service", json{{"ids_repairman", repairmanIds}}.dump()},
                    {"start_date_service", startDate},
                    {"start_time_service", "08:30:00"}};
    if (finishDate) {
        command["finish_date_service"] = *finishDate;
        command["finish_time_service"] = "17:00:00";
    }
    return command;
}

std::string ServerHarness::addService(const std::string& machineId, const std::vector<std::string>& repairmanIds,
                                      const std::string& startDate,
                                      const std::optional<std::string>& finishDate) const {
    const json answer = send(saveServiceCommand(machineId, repairmanIds, startDate, finishDate));
    EXPECT_TRUE(answer.contains("success")) << answer.dump();
    return newestId("all_service");
}

} // namespace journal::testing
