// Any request body as the server handles it, against a throwaway SQLite database that holds a small
// plant: the form, the key, the command object and every command's checks. Every answer is one JSON
// object with "success" or a non-empty "error", and the database stays sound.
#include "http/FormBody.h"
#include "protocol/DemoPlant.h"
#include "protocol/Protocol.h"
#include "storage/ConnectionPool.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kKey = "QmWrTsXnPdKa";

struct Server {
    std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("journal-fuzz-" + std::to_string(getpid()));
    std::unique_ptr<journal::storage::ConnectionPool> database;
    std::unique_ptr<journal::protocol::Protocol> protocol;

    Server() {
        std::filesystem::create_directories(directory);
        database = journal::storage::openDatabase("sqlite:" + (directory / "journal.sqlite3").string());
        journal::protocol::fillDemoPlant(*database);
        protocol = std::make_unique<journal::protocol::Protocol>(
            *database, journal::ServerFormats("dd.MM.yyyy", "HH:mm:ss"), kKey);
        std::atexit([] { std::filesystem::remove_all(instance().directory); });
    }

    static Server& instance() {
        static Server server;
        return server;
    }

    void checkIntegrity() const {
        sqlite3* check = nullptr;
        std::string result;
        if (sqlite3_open_v2((directory / "journal.sqlite3").c_str(), &check, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK)
            std::abort();
        sqlite3_exec(
            check, "PRAGMA integrity_check",
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) += values[0] != nullptr ? values[0] : "";
                return 0;
            },
            &result, nullptr);
        sqlite3_close(check);
        if (result != "ok")
            std::abort();
    }
};

std::string formEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        if (std::isalnum(c) || c == '*' || c == '-' || c == '.' || c == '_') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::optional<std::string> field(const std::map<std::string, std::string>& fields, const char* name) {
    const auto found = fields.find(name);
    return found == fields.end() ? std::nullopt : std::optional(found->second);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Server& server = Server::instance();
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Most inputs become the command object of a well-formed request, so the fuzzer spends its time on
    // the commands; an input that looks like a form is taken as the whole body.
    const bool isBody = input.find('=') != std::string::npos && input.find('{') == std::string::npos;
    const std::string body = isBody ? input : "data=" + formEncoded(input) + "&key=" + kKey;

    const auto fields = journal::http::decodeForm(body);
    if (!fields)
        return 0; // answered 400 with its own JSON
    const journal::protocol::Answer answer = server.protocol->answer(field(*fields, "data"), field(*fields, "key"));
    const nlohmann::json& reply = answer.body;
    if (!reply.is_object())
        std::abort();
    const auto error = reply.find("error");
    const bool refused = error != reply.end() && error->is_string() && !error->get_ref<const std::string&>().empty();
    if (refused == reply.contains("success"))
        std::abort();
    if ((answer.outcome == journal::protocol::Outcome::Success) != reply.contains("success"))
        std::abort();
    (void)reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);

    static unsigned runs = 0;
    if (++runs % 500 == 0)
        server.checkIntegrity();
    return 0;
}
