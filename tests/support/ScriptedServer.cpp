#include "ScriptedServer.h"

#include "ChannelSettingsForTesting.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <httplib.h>
#include <stdexcept>
#include <unistd.h>
#include <zlib.h>

namespace journal::testing {
namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b,
                              [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string gzipped(const std::string& text) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("zlib refused gzip");
    }
    std::string out(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Death-test children re-run the test program and end with _Exit, which skips every clean-up:
// they reuse the directory of the process that made the files (named in the environment they
// inherit), and only that process removes it.
class CertificateFiles {
public:
    CertificateFiles() {
        static constexpr const char* kInherited = "JOURNAL_TEST_CERTIFICATES";
        if (const char* inherited = std::getenv(kInherited); inherited != nullptr) {
            fDirectory = inherited;
        } else {
            fDirectory = std::filesystem::temp_directory_path() / ("journal-test-" + std::to_string(getpid()));
            fOwner = true;
        }
        fFiles = {fDirectory / "certificate.pem", fDirectory / "key.pem"};
        if (fOwner) {
            make();
            setenv(kInherited, fDirectory.c_str(), 1);
        }
    }
    ~CertificateFiles() {
        if (fOwner) {
            std::error_code ignored;
            std::filesystem::remove_all(fDirectory, ignored);
        }
    }
    const TestCertificate& files() const { return fFiles; }

private:
    void make() const {
        std::filesystem::create_directories(fDirectory);
        const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
                                    " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                                    fFiles.key.string() + "' -out '" + fFiles.certificate.string() + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("openssl could not make a test certificate");
        }
    }

    std::filesystem::path fDirectory;
    TestCertificate fFiles;
    bool fOwner = false;
};

} // namespace

const TestCertificate& testCertificate() {
    static const CertificateFiles files;
    return files.files();
}

std::string RecordedRequest::command() const {
    const std::string prefix = "data=";
    const std::size_t end = body.find('&');
    if (!body.starts_with(prefix) || end == std::string::npos)
        return "not a form with data first: " + body;
    std::string text;
    for (std::size_t i = prefix.size(); i < end; ++i) {
        if (body[i] == '+') {
            text += ' ';
        } else if (body[i] == '%' && i + 2 < end) {
            text += static_cast<char>(std::stoi(body.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            text += body[i];
        }
    }
    return text;
}

std::string RecordedRequest::header(const std::string& name) const {
    const auto found =
        std::ranges::find_if(headers, [&](const auto& header) { return equalsIgnoringCase(header.first, name); });
    return found == headers.end() ? std::string() : found->second;
}

ScriptedServer::ScriptedServer()
    : fServer(
          std::make_unique<httplib::SSLServer>(testCertificate().certificate.c_str(), testCertificate().key.c_str())) {
    fDefaultReply.body = R"({"success":true})";
    fServer->set_keep_alive_timeout(1); // a kept-alive connection must not hold up stop()
    fServer->Post(".*", [this](const httplib::Request& request, httplib::Response& response) {
        RecordedRequest recorded{request.method, request.path, {}, request.body};
        for (const auto& [name, value] : request.headers) {
            if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" && name != "LOCAL_PORT") {
                recorded.headers.emplace_back(name, value);
            }
        }
        Reply reply;
        {
            std::unique_lock lock(fMutex);
            fRequests.push_back(std::move(recorded));
            reply = nextReply();
            fStopping.wait_for(lock, reply.stall, [this] { return fStopped; });
        }
        if (!reply.redirectTo.empty()) {
            response.status = 307;
            response.set_header("Location", url(reply.redirectTo));
            return;
        }
        response.status = reply.status;
        if (reply.gzip) {
            response.set_header("Content-Encoding", "gzip");
            response.set_content(gzipped(reply.body), reply.contentType.c_str());
        } else {
            response.set_content(reply.body, reply.contentType.c_str());
        }
    });
    fPort = fServer->bind_to_any_port("127.0.0.1");
    if (fPort <= 0) {
        throw std::runtime_error("the test server could not bind");
    }
    fListener = std::thread([this] { fServer->listen_after_bind(); });
    while (!fServer->is_running()) {
        std::this_thread::yield();
    }
}

ScriptedServer::~ScriptedServer() {
    {
        const std::lock_guard lock(fMutex);
        fStopped = true;
    }
    fStopping.notify_all();
    fServer->stop();
    fListener.join();
}

void ScriptedServer::script(Reply reply) {
    const std::lock_guard lock(fMutex);
    fScript.push_back(std::move(reply));
}

void ScriptedServer::setDefaultReply(Reply reply) {
    const std::lock_guard lock(fMutex);
    fDefaultReply = std::move(reply);
}

std::vector<RecordedRequest> ScriptedServer::requests() const {
    const std::lock_guard lock(fMutex);
    return fRequests;
}

std::string ScriptedServer::url(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(fPort) + path;
}

ChannelSettings ScriptedServer::settings(std::chrono::milliseconds timeout) const {
    return {url(), testCertificate().certificate.string(), static_cast<long>(timeout.count())};
}

void ScriptedServer::useAsEndpoint(std::chrono::milliseconds timeout) const {
    setChannelSettings(settings(timeout));
}

Reply ScriptedServer::nextReply() {
    if (fScript.empty()) {
        return fDefaultReply;
    }
    Reply reply = std::move(fScript.front());
    fScript.pop_front();
    return reply;
}

} // namespace journal::testing
